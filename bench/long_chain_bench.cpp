// A long run of `larkspan capture -o`, as a user runs it: a chain of generated result pages
// served from 127.0.0.1, each with 21 listings and a NEXT link to the next. Measures the time
// per page over the first and the last hundred pages, from the progress lines as they arrive,
// and the memory of the command's main process near both ends.
//
// Usage: long_chain_bench [PAGES [PROGRAM]]   (1,000 pages of this build's larkspan unless given;
// PROGRAM compares another build)

#include "tests/support/test_http_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

// Page `number` of the chain: the sample site's first page with names of its own, so that no
// page repeats another, and a NEXT link to the next page unless it is the last.
QByteArray chainPage(const QByteArray& sample, int number, int pages) {
    QByteArray page = sample;
    page.replace("</a></h3>", " " + QByteArray::number(number) + "</a></h3>");
    const QByteArray next =
        number < pages ? "<a href=\"" + QByteArray::number(number + 1) + ".html\">NEXT \xC2\xBB</a>"
                       : QByteArray();
    page.replace("<a href=\"page2.html\">NEXT \xC2\xBB</a>", next);
    return page;
}

bool writeChain(const QString& folder, int pages) {
    QFile sampleFile(QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/directory/page1.html"));
    if (!sampleFile.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray sample = sampleFile.readAll();
    for (int number = 1; number <= pages; ++number) {
        QFile page(QStringLiteral("%1/%2.html").arg(folder, QString::number(number)));
        if (!page.open(QIODevice::WriteOnly) || page.write(chainPage(sample, number, pages)) < 0) {
            return false;
        }
    }
    return true;
}

// Resident memory of a process in KiB, from the kernel's account of it.
qint64 residentKiB(qint64 process) {
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QRegularExpression rss(QStringLiteral("^VmRSS:\\s+(\\d+) kB"),
                                 QRegularExpression::MultilineOption);
    return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

// Processor time the process has used so far, in milliseconds: unlike the wall clock, hardly
// touched by whatever else the machine is doing.
double processorMilliseconds(qint64 process) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    // User and system time are the 12th and 13th fields after the command's name in brackets.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

double millisecondsPerPage(const std::vector<qint64>& arrivals, int first, int last) {
    return double(arrivals[std::size_t(last)] - arrivals[std::size_t(first)]) / (last - first);
}

// The median time from one page's line to the next's: what a page costs, leaving out the rare
// pause (the engine's navigation rate limit costs about a second every 200 fast pages).
double medianMillisecondsPerPage(const std::vector<qint64>& arrivals, int first, int last) {
    std::vector<qint64> steps;
    for (int page = first + 1; page <= last; ++page) {
        steps.push_back(arrivals[std::size_t(page)] - arrivals[std::size_t(page - 1)]);
    }
    std::nth_element(steps.begin(), steps.begin() + std::ptrdiff_t(steps.size() / 2), steps.end());
    return double(steps[steps.size() / 2]);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const int pages = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    if (pages < 200) {
        std::fprintf(stderr, "long_chain_bench: needs at least 200 pages\n");
        return 2;
    }
    QTemporaryDir site;
    if (!writeChain(site.path(), pages)) {
        std::fprintf(stderr, "long_chain_bench: cannot write the pages\n");
        return 1;
    }
    larkspan::test::TestHttpServer server(site.path());
    if (!server.listen()) {
        std::fprintf(stderr, "long_chain_bench: cannot listen\n");
        return 1;
    }

    QTemporaryDir output;
    const QString results = output.filePath(QStringLiteral("results.csv"));
    QProcess capture;
    capture.setProgram(argc > 2 ? QString::fromLocal8Bit(argv[2])
                                : QStringLiteral(LARKSPAN_EXECUTABLE));
    capture.setArguments({QStringLiteral("capture"),
                          server.url(QStringLiteral("/1.html")).toString(), QStringLiteral("-o"),
                          results});
    capture.setReadChannel(QProcess::StandardError);

    // arrivals[n]: milliseconds from the start to the progress line of page n.
    std::vector<qint64> arrivals(std::size_t(pages) + 1, -1);
    qint64 memoryNearStart = -1;
    qint64 memoryNearEnd = -1;
    // Processor time of the main process at page 1 and every hundredth page.
    std::vector<double> processorTime(std::size_t(pages) + 1, -1);
    QString lastLine;
    QElapsedTimer clock;
    const QRegularExpression progress(QStringLiteral("^page (\\d+): "));
    QObject::connect(&capture, &QProcess::readyReadStandardError, &capture, [&] {
        while (capture.canReadLine()) {
            lastLine = QString::fromUtf8(capture.readLine()).trimmed();
            const int page = progress.match(lastLine).captured(1).toInt();
            if (page < 1 || page > pages) {
                continue;
            }
            arrivals[std::size_t(page)] = clock.elapsed();
            if (page == 1 || page % 100 == 0 || page == pages) {
                processorTime[std::size_t(page)] = processorMilliseconds(capture.processId());
            }
            if (page == 100) {
                memoryNearStart = residentKiB(capture.processId());
            } else if (page == pages) {
                memoryNearEnd = residentKiB(capture.processId());
            }
        }
    });
    QEventLoop loop;
    QObject::connect(&capture, &QProcess::finished, &loop, &QEventLoop::quit);
    clock.start();
    capture.start();
    loop.exec();

    if (capture.exitCode() != 0 || arrivals[std::size_t(pages)] < 0) {
        std::fprintf(stderr, "long_chain_bench: the run failed: %s\n", qPrintable(lastLine));
        return 1;
    }
    const double first = millisecondsPerPage(arrivals, 1, 100);
    const double last = millisecondsPerPage(arrivals, pages - 100, pages);
    const double firstMedian = medianMillisecondsPerPage(arrivals, 1, 100);
    const double lastMedian = medianMillisecondsPerPage(arrivals, pages - 100, pages);
    std::printf("pages                          %d\n", pages);
    std::printf("whole run                      %.1f s\n", double(clock.elapsed()) / 1000);
    std::printf("time per page, pages 1-100     %.1f ms\n", first);
    std::printf("time per page, last 100 pages  %.1f ms\n", last);
    std::printf("last hundred / first hundred   %.2f\n", last / first);
    std::printf("median per page, pages 1-100   %.0f ms\n", firstMedian);
    std::printf("median per page, last 100      %.0f ms\n", lastMedian);
    std::printf("main process CPU, pages 1-100  %.1f ms per page\n",
                (processorTime[100] - processorTime[1]) / 99);
    std::printf(
        "main process CPU, last 100     %.1f ms per page\n",
        (processorTime[std::size_t(pages)] - processorTime[std::size_t(pages - 100)]) / 100);
    std::printf("main process CPU, by hundred  ");
    for (int hundred = 0; hundred + 100 <= pages; hundred += 100) {
        const int from = std::max(hundred, 1);
        std::printf(" %.1f",
                    (processorTime[std::size_t(hundred + 100)] - processorTime[std::size_t(from)]) /
                        (hundred + 100 - from));
    }
    std::printf(" ms\n");
    std::printf("median per page, by hundred   ");
    for (int hundred = 0; hundred + 100 <= pages; hundred += 100) {
        std::printf(" %.0f",
                    medianMillisecondsPerPage(arrivals, std::max(hundred, 1), hundred + 100));
    }
    std::printf(" ms\n");
    std::printf("main process memory, page 100  %lld KiB\n", memoryNearStart);
    std::printf("main process memory, page %d %lld KiB\n", pages, memoryNearEnd);
    std::printf("results file                   %lld bytes (%s)\n", QFileInfo(results).size(),
                qPrintable(lastLine));
    return 0;
}
