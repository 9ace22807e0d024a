// The capture step on a real page: from "page loaded" to "result lines ready" (flatten the
// document through the engine, cut it into listings, parse them), on a heavy result page.

#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "capture/flatten_page.h"
#include "capture/listing_text_parser.h"
#include "engine_bench.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

larkspan::TWebbrowser* g_browser = nullptr;

void BM_CaptureStep(benchmark::State& state) {
    larkspan::ListingTextParser parser;
    qsizetype listings = 0;
    const quint64 callsBefore = g_browser->engineCallCount();
    for (auto _ : state) {
        const QString text = larkspan::FlattenPage(g_browser->Document().get());
        listings = parser.resultLines(text).size();
    }
    state.counters["listings"] = static_cast<double>(listings);
    state.counters["engine_calls_per_page"] =
        static_cast<double>(g_browser->engineCallCount() - callsBefore) /
        static_cast<double>(state.iterations());
}
BENCHMARK(BM_CaptureStep)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The parser's share of the step: cutting and parsing the flattened text of the same page.
void BM_ParseHeavyPage(benchmark::State& state) {
    const QString text = larkspan::FlattenPage(g_browser->Document().get());
    larkspan::ListingTextParser parser;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parser.resultLines(text));
    }
}
BENCHMARK(BM_ParseHeavyPage)->Unit(benchmark::kMillisecond);

// One question to the page and its answer: what every property read would cost unbatched.
void BM_OneRoundTrip(benchmark::State& state) {
    const auto document = g_browser->Document();
    for (auto _ : state) {
        benchmark::DoNotOptimize(document->readyState());
    }
}
BENCHMARK(BM_OneRoundTrip)->Unit(benchmark::kMicrosecond);

// How many engine reads the walk makes when every property is its own round trip: the class
// attribute once per class name and element (the flattener compares it with each of 13
// names), and the printed properties of every matching entry.
void reportUnbatchedReads() {
    const auto document = g_browser->Document();
    const auto elements = document->body()->getElementsByTagName(QStringLiteral("*"));
    const qsizetype flattenedLines =
        larkspan::FlattenPage(document.get()).count(QStringLiteral("\r\n"));
    const long long reads = 13LL * elements->length() + flattenedLines;
    std::printf("heavy page: %d elements below the body; unbatched walk: %lld round trips\n",
                elements->length(), reads);
}

}  // namespace

int main(int argc, char** argv) {
    larkspan::EngineBenchApplication application(argc, argv);
    larkspan::TWebbrowser browser;
    if (!larkspan::loadHeavyResultPage(browser)) {
        return 1;
    }
    g_browser = &browser;
    reportUnbatchedReads();
    return application.runBenchmarks(argc, argv);
}
