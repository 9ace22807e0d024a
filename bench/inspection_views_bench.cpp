// Filling every document view of the heavy result page, through the real engine: how long each
// takes and how many round trips to the page it makes.

#include "browser/twebbrowser.h"
#include "engine_bench.h"
#include "inspect/document_views.h"
#include "inspect/page_marks.h"

#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

larkspan::TWebbrowser* g_browser = nullptr;

// Runs the fill once per iteration and reports the engine calls of one fill.
void measure(benchmark::State& state, const std::function<void()>& fill) {
    quint64 calls = 0;
    for (auto _ : state) {
        const quint64 before = g_browser->engineCallCount();
        fill();
        calls = g_browser->engineCallCount() - before;
    }
    state.counters["engine_calls"] = static_cast<double>(calls);
}

void BM_Source(benchmark::State& state) {
    measure(state, [] { benchmark::DoNotOptimize(larkspan::ReadDocumentSource(g_browser)); });
}
BENCHMARK(BM_Source)->Unit(benchmark::kMillisecond);

void BM_Links(benchmark::State& state) {
    QStringList lines;
    measure(state, [&lines] { larkspan::ListDocumentLinks(g_browser, lines); });
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_Links)->Unit(benchmark::kMillisecond);

void BM_Frames(benchmark::State& state) {
    QStringList lines;
    measure(state, [&lines] { larkspan::ListFrameAddresses(g_browser, lines); });
}
BENCHMARK(BM_Frames)->Unit(benchmark::kMillisecond);

void BM_Images(benchmark::State& state) {
    QStringList lines;
    measure(state, [&lines] { larkspan::ListImageFiles(g_browser, lines); });
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_Images)->Unit(benchmark::kMillisecond);

void BM_Fields(benchmark::State& state) {
    QStringList lines;
    measure(state, [&lines] { larkspan::ListFormFields(g_browser, lines); });
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_Fields)->Unit(benchmark::kMillisecond);

void BM_ObjectView(benchmark::State& state) {
    QTreeWidget tree;
    measure(state, [&tree] { larkspan::BuildFormTree(&tree, g_browser, {}); });
}
BENCHMARK(BM_ObjectView)->Unit(benchmark::kMillisecond);

// The walk over the page's visible text, for a word the page does not hold, so that every
// iteration searches the same page.
void BM_SearchAndHighlight(benchmark::State& state) {
    measure(state, [] { larkspan::SearchAndHighlight(g_browser, QStringLiteral("zebrafish")); });
}
BENCHMARK(BM_SearchAndHighlight)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    larkspan::EngineBenchApplication application(argc, argv);
    larkspan::TWebbrowser browser;
    browser.resize(1024, 768);
    if (!larkspan::loadHeavyResultPage(browser)) {
        return 1;
    }
    g_browser = &browser;
    return application.runBenchmarks(argc, argv);
}
