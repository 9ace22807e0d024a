// Listing detection on the heavy result page of the capture step's benchmark: from "page
// loaded" to "profile ready" (one engine call that finds the groups and proposes their rules,
// then the profile documents), the engine call alone, and the first call on a fresh page.

#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "capture/listing_detection.h"
#include "engine_bench.h"

#include <QUrl>

#include <benchmark/benchmark.h>

namespace {

larkspan::TWebbrowser* g_heavy = nullptr;

void BM_DetectListings(benchmark::State& state) {
    const auto document = g_heavy->Document();
    const QUrl address(g_heavy->LocationURL());
    larkspan::ListingDetection detection;
    for (auto _ : state) {
        detection = larkspan::detectListings(*document, address);
    }
    state.counters["groups"] = static_cast<double>(detection.size());
    state.counters["listings"] = detection.isEmpty() ? 0 : detection.front().count;
    state.counters["fields"] =
        detection.isEmpty() ? 0 : static_cast<double>(detection.front().fields.size());
}
BENCHMARK(BM_DetectListings)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

void BM_DetectionEngineCall(benchmark::State& state) {
    const auto document = g_heavy->Document();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            document->runPageScript(QStringLiteral("listing_detection.js"), QJsonValue()));
    }
}
BENCHMARK(BM_DetectionEngineCall)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace

// The first call on a freshly loaded page, as `profile detect` makes it: the page script meets
// every element for the first time (the repeated calls above find them known).
void BM_DetectListingsFirstCall(benchmark::State& state) {
    const QUrl address(g_heavy->LocationURL());
    for (auto _ : state) {
        state.PauseTiming();
        g_heavy->Navigate(address);
        g_heavy->waitUntilComplete();
        const auto document = g_heavy->Document();
        state.ResumeTiming();
        benchmark::DoNotOptimize(larkspan::detectListings(*document, address));
    }
}
BENCHMARK(BM_DetectListingsFirstCall)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

int main(int argc, char** argv) {
    larkspan::EngineBenchApplication application(argc, argv);
    larkspan::TWebbrowser heavy;
    if (!larkspan::loadHeavyResultPage(heavy)) {
        return 1;
    }
    g_heavy = &heavy;
    return application.runBenchmarks(argc, argv);
}
