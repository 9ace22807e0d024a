// The structured data source on real pages: from "page loaded" to "result lines ready" (one
// engine call that hands over every schema.org item, then reading and mapping them), on the
// heavy result page of the capture step's benchmark and on a page of about 500 KB that carries
// 50 businesses as microdata and again as JSON-LD.

#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "capture/structured_listings.h"
#include "engine_bench.h"

#include <QJsonObject>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const QString kScript = QStringLiteral("structured_data.js");

larkspan::TWebbrowser* g_heavy = nullptr;
larkspan::TWebbrowser* g_structured = nullptr;

QUrl addressOf(larkspan::TWebbrowser* browser) {
    return QUrl(browser->LocationURL());
}

void BM_StructuredStep(benchmark::State& state, larkspan::TWebbrowser** browser) {
    const auto document = (*browser)->Document();
    const QUrl address = addressOf(*browser);
    larkspan::StructuredListings listings;
    for (auto _ : state) {
        listings = larkspan::structuredListings(*document, address);
    }
    state.counters["listings"] = static_cast<double>(listings.resultLines.size());
    state.counters["skipped_scripts"] = listings.skippedScripts;
}
BENCHMARK_CAPTURE(BM_StructuredStep, heavy_page, &g_heavy)
    ->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK_CAPTURE(BM_StructuredStep, structured_page, &g_structured)
    ->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// The engine call alone.
void BM_StructuredEngineCall(benchmark::State& state, larkspan::TWebbrowser** browser) {
    const auto document = (*browser)->Document();
    for (auto _ : state) {
        benchmark::DoNotOptimize(document->runPageScript(kScript, QJsonValue()));
    }
}
BENCHMARK_CAPTURE(BM_StructuredEngineCall, heavy_page, &g_heavy)
    ->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK_CAPTURE(BM_StructuredEngineCall, structured_page, &g_structured)
    ->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// Reading and mapping alone, on the answer of the engine call.
void BM_StructuredParse(benchmark::State& state, larkspan::TWebbrowser** browser) {
    const QJsonObject answer =
        (*browser)->Document()->runPageScript(kScript, QJsonValue()).toObject();
    const QUrl address = addressOf(*browser);
    for (auto _ : state) {
        benchmark::DoNotOptimize(larkspan::structuredListingsOf(answer, address));
    }
}
BENCHMARK_CAPTURE(BM_StructuredParse, heavy_page, &g_heavy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StructuredParse, structured_page, &g_structured)
    ->Unit(benchmark::kMillisecond);

bool loadStructuredPage(larkspan::TWebbrowser& browser) {
    browser.Navigate(
        QUrl::fromLocalFile(QStringLiteral(LARKSPAN_BENCH_DATA "/structured_result_page.html")));
    if (!browser.waitUntilComplete() || !browser.lastLoadSucceeded() || !browser.Document()) {
        std::fputs("cannot load the structured result page\n", stderr);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    larkspan::EngineBenchApplication application(argc, argv);
    larkspan::TWebbrowser heavy;
    larkspan::TWebbrowser structured;
    if (!larkspan::loadHeavyResultPage(heavy) || !loadStructuredPage(structured)) {
        return 1;
    }
    g_heavy = &heavy;
    g_structured = &structured;
    return application.runBenchmarks(argc, argv);
}
