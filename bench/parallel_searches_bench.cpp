// A batch of searches as a user runs it: `larkspan capture --sources LIST --parallel N -o FILE`
// against a local server that answers each page after 300 ms. Every search is the sample site's
// three pages under a folder of its own. Measures, for each N, the wall-clock time of the whole
// command and the most memory its processes held together (the engine's included), and checks
// that every N gives the bytes of N = 1.
//
// Usage: parallel_searches_bench [SEARCHES [N,N,...]]   (40 searches; N = 1,4 unless given)

#include "tests/support/test_http_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

namespace {

using namespace std::chrono_literals;

constexpr auto kAnswerDelay = 300ms;
const QStringList kPages{QStringLiteral("page1.html"), QStringLiteral("page2.html"),
                         QStringLiteral("page3.html")};

bool writeSite(const QString& folder, int searches) {
    for (int search = 1; search <= searches; ++search) {
        const QString searchFolder = QStringLiteral("%1/s%2").arg(folder).arg(search);
        if (!QDir().mkpath(searchFolder)) {
            return false;
        }
        for (const QString& page : kPages) {
            if (!QFile::copy(QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/directory/") + page,
                             searchFolder + u'/' + page)) {
                return false;
            }
        }
    }
    return true;
}

// The process and every process below it: the engine's helpers are the command's children.
QList<qint64> processTree(qint64 root) {
    QList<qint64> tree{root};
    const QRegularExpression parentField(QStringLiteral("^\\d+ \\(.*\\) \\S (\\d+) "));
    bool grew = true;
    while (grew) {
        grew = false;
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool number = false;
            const qint64 process = entry.toLongLong(&number);
            if (!number || tree.contains(process)) {
                continue;
            }
            QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
            if (stat.open(QIODevice::ReadOnly) &&
                tree.contains(parentField.match(QString::fromLatin1(stat.readAll()))
                                  .captured(1)
                                  .toLongLong())) {
                tree.append(process);
                grew = true;
            }
        }
    }
    return tree;
}

// The processes' proportional share of memory in KiB: shared pages counted once in all.
qint64 proportionalKiB(const QList<qint64>& processes) {
    qint64 total = 0;
    const QRegularExpression pss(QStringLiteral("^Pss:\\s+(\\d+) kB"),
                                 QRegularExpression::MultilineOption);
    for (const qint64 process : processes) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(process));
        if (rollup.open(QIODevice::ReadOnly)) {
            total += pss.match(QString::fromLatin1(rollup.readAll())).captured(1).toLongLong();
        }
    }
    return total;
}

struct Measured {
    double seconds = 0;
    qint64 mostKiB = 0;
    QByteArray output;
};

std::optional<Measured> runBatch(const QString& list, int parallel, const QString& folder) {
    const QString results = QStringLiteral("%1/parallel%2.csv").arg(folder).arg(parallel);
    QProcess capture;
    capture.setProgram(QStringLiteral(LARKSPAN_EXECUTABLE));
    capture.setArguments({QStringLiteral("capture"), QStringLiteral("--sources"), list,
                          QStringLiteral("--parallel"), QString::number(parallel),
                          QStringLiteral("-o"), results});
    capture.setStandardErrorFile(QProcess::nullDevice());
    // A journal of its own, so that the user's runs stay as they are.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/data"));
    capture.setProcessEnvironment(environment);

    Measured measured;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        measured.mostKiB =
            std::max(measured.mostKiB, proportionalKiB(processTree(capture.processId())));
    });
    QEventLoop finished;
    QObject::connect(&capture, &QProcess::finished, &finished, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    capture.start();
    sampler.start(250ms);
    finished.exec();
    measured.seconds = double(clock.elapsed()) / 1000.0;
    QFile output(results);
    if (capture.exitCode() != 0 || !output.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "parallel_searches_bench: --parallel %d failed (exit %d)\n", parallel,
                     capture.exitCode());
        return std::nullopt;
    }
    measured.output = output.readAll();
    return measured;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const int searches = argc > 1 ? QByteArray(argv[1]).toInt() : 40;
    QList<int> parallels{1, 4};
    if (argc > 2) {
        parallels.clear();
        for (const QByteArray& number : QByteArray(argv[2]).split(',')) {
            parallels.append(number.toInt());
        }
    }
    QTemporaryDir folder;
    if (searches < 1 || !writeSite(folder.filePath(QStringLiteral("site")), searches)) {
        std::fprintf(stderr, "parallel_searches_bench: cannot write the site\n");
        return 1;
    }
    larkspan::test::TestHttpServer server(folder.filePath(QStringLiteral("site")));
    if (!server.listen()) {
        std::fprintf(stderr, "parallel_searches_bench: cannot listen\n");
        return 1;
    }
    QFile list(folder.filePath(QStringLiteral("searches.txt")));
    if (!list.open(QIODevice::WriteOnly)) {
        return 1;
    }
    for (int search = 1; search <= searches; ++search) {
        for (const QString& page : kPages) {
            server.setDelay(QStringLiteral("/s%1/%2").arg(search).arg(page), kAnswerDelay);
        }
        list.write(server.url(QStringLiteral("/s%1/page1.html").arg(search)).toEncoded() + '\n');
    }
    list.close();

    std::printf("%d searches of %lld pages, each page answered after %lld ms\n", searches,
                static_cast<long long>(kPages.size()),
                static_cast<long long>(kAnswerDelay.count()));
    std::printf("%-10s %10s %10s %16s %s\n", "--parallel", "seconds", "ratio", "memory (MB)",
                "output");
    std::optional<Measured> first;
    for (const int parallel : parallels) {
        const std::optional<Measured> measured = runBatch(list.fileName(), parallel, folder.path());
        if (!measured) {
            return 1;
        }
        if (!first) {
            first = measured;
        }
        std::printf("%-10d %10.1f %10.2f %16.0f %s\n", parallel, measured->seconds,
                    measured->seconds / first->seconds, double(measured->mostKiB) / 1024.0,
                    measured->output == first->output ? "same bytes" : "DIFFERENT BYTES");
        std::fflush(stdout);
    }
    return 0;
}
