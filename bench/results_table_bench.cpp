// The Results pane and its Table view filling up as a long capture run adds its pages: 50,000
// lines in pages of 20, the two tabs shown on the offscreen platform (the one or the other in
// front) and events handled after every page as during a run. Prints the processor time of the
// whole fill and per page by tenth of the run, then what sorting and filtering 50,000 rows
// cost (wall clock).
//
// Usage: results_table_bench [LINES]   (50,000 unless given)

#include "shell/results_pane.h"
#include "shell/results_table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kPageLines = 20;

// The sample site's lines, each made a listing of its own.
QStringList lines(int count) {
    QFile file(QStringLiteral(LARKSPAN_SOURCE_DIR "/tests/data/sample_directory_expected.csv"));
    QStringList sample;
    if (file.open(QIODevice::ReadOnly)) {
        sample = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    QStringList all;
    for (int i = 0; i < count && !sample.isEmpty(); ++i) {
        all.append(QString(sample[i % sample.size()]).replace(1, 0, QString::number(i) + u' '));
    }
    return all;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double milliseconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

// The processor time of this thread, which other work on the machine hardly touches.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

enum class Shown { PaneWithoutTable, Pane, Table };

// Fills a window's Results and Table tabs, as a run does, with one of them shown (or the pane
// alone, as before there was a table); gives the time per page.
std::vector<double> fill(const QStringList& all, Shown shown, larkspan::ResultsTable** kept) {
    auto* tabs = new QTabWidget;
    auto* pane = new larkspan::ResultsPane(tabs);
    auto* table = new larkspan::ResultsTable(tabs);
    tabs->addTab(pane, QStringLiteral("Results"));
    tabs->addTab(table, QStringLiteral("Table"));
    if (shown != Shown::PaneWithoutTable) {
        QObject::connect(pane, &larkspan::ResultsPane::linesAppended, table,
                         &larkspan::ResultsTable::appendLines);
    }
    tabs->setCurrentWidget(shown == Shown::Table ? static_cast<QWidget*>(table) : pane);
    tabs->resize(660, 600);
    tabs->show();
    pane->clearLines();
    QApplication::processEvents();

    std::vector<double> pageTimes;
    for (qsizetype start = 0; start < all.size(); start += kPageLines) {
        const double before = threadMilliseconds();
        pane->appendLines(all.mid(start, kPageLines));
        QApplication::processEvents();
        pageTimes.push_back(threadMilliseconds() - before);
    }
    *kept = table;
    return pageTimes;
}

void report(const char* what, const std::vector<double>& pageTimes) {
    double whole = 0;
    for (const double time : pageTimes) {
        whole += time;
    }
    std::printf("%s: %.1f s of processor time; median ms per page by tenth of the run:", what,
                whole / 1000);
    const std::size_t tenth = std::max<std::size_t>(1, pageTimes.size() / 10);
    for (std::size_t start = 0; start + tenth <= pageTimes.size(); start += tenth) {
        std::printf(" %.1f", median({pageTimes.begin() + long(start),
                                     pageTimes.begin() + long(start + tenth)}));
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 50'000;
    const QStringList all = lines(count);
    std::printf("%d lines in pages of %d\n", count, kPageLines);

    larkspan::ResultsTable* table = nullptr;
    report("Results pane alone, no table", fill(all, Shown::PaneWithoutTable, &table));
    report("Results tab shown", fill(all, Shown::Pane, &table));
    report("Table tab shown", fill(all, Shown::Table, &table));

    QElapsedTimer sort;
    sort.start();
    table->view()->horizontalHeader()->setSortIndicator(5, Qt::AscendingOrder);
    QApplication::processEvents();
    std::printf("sort %d rows by City: %.0f ms\n", count, milliseconds(sort));

    QElapsedTimer filter;
    filter.start();
    table->filterBox()->setText(QStringLiteral("sydney"));
    while (table->rowCountText() == QStringLiteral("%1 rows").arg(count)) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // The filter waits for a pause in the typing (250 ms) before it starts.
    std::printf("filter %d rows (\"sydney\", %s): %.0f ms from the keystroke\n", count,
                qPrintable(table->rowCountText()), milliseconds(filter));
    return 0;
}
