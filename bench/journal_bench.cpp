// The run journal's cost per page over a long run: writes pages of 21 realistic result lines
// (the sample site's first page) into a fresh journal, one transaction each, as a capture run
// does, and prints the median and 95th percentile per thousand pages.
//
// Usage: journal_bench [PAGES [FOLDER]]   (10,000 pages into a temporary folder unless given;
// FOLDER puts the journal on another disk)

#include "journal/run_journal.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kBlock = 1000;

QStringList samplePageLines() {
    QFile file(QStringLiteral(LARKSPAN_SOURCE_DIR "/tests/data/sample_directory_expected.csv"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts).mid(0, 21);
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

}  // namespace

int main(int argc, char* argv[]) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 10'000;
    QTemporaryDir temporary(argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/XXXXXX")
                                     : QString());
    const QStringList lines = samplePageLines();
    if (!temporary.isValid() || lines.size() != 21) {
        std::fprintf(stderr, "journal_bench: no folder or no sample lines\n");
        return 1;
    }
    const QString path = temporary.filePath(QStringLiteral("journal.sqlite"));
    larkspan::RunJournal journal(path);
    const qint64 run = journal.startRun(larkspan::JournalRun::Kind::Command,
                                        QStringLiteral("http://127.0.0.1/1.html"), {});

    std::printf("%d pages of %lld lines into %s\n", pages, qlonglong(lines.size()),
                qPrintable(path));
    std::printf("%-13s  %12s  %12s\n", "pages", "median ms", "95th pct ms");
    std::vector<double> block;
    QElapsedTimer whole;
    whole.start();
    for (int number = 1; number <= pages; ++number) {
        const larkspan::JournalPage page{
            number, QStringLiteral("http://127.0.0.1/%1.html").arg(number),
            QDateTime::currentDateTimeUtc(), lines,
            QCryptographicHash::hash(QByteArray::number(number), QCryptographicHash::Sha256)};
        QElapsedTimer timer;
        timer.start();
        journal.recordPage(run, page, 0);
        block.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (number % kBlock == 0 || number == pages) {
            std::printf("%5d-%-7d  %12.2f  %12.2f\n", number - int(block.size()) + 1, number,
                        percentile(block, 0.5), percentile(block, 0.95));
            block.clear();
        }
    }
    journal.endRun(run, larkspan::JournalRun::Ending::LastPage);
    std::printf("whole run %.1f s, journal %.1f MB\n", double(whole.elapsed()) / 1000,
                double(QFileInfo(path).size()) / 1e6);
    return 0;
}
