// The capture step on a real page: from "page loaded" to "result lines ready" (flatten the
// document through the engine, cut it into listings, parse them), on a heavy result page.

#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "capture/flatten_page.h"
#include "capture/listing_text_parser.h"
#include "engine_bench.h"

#include <QEventLoop>
#include <QWebEnginePage>
#include <QWebEngineView>

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
BENCHMARK(BM_CaptureStep)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// For comparison: the same walk done by the page itself, a function installed once (so the
// engine optimises it as it does the bridge), which hands over the flattened text in one answer.
const char* const kInPageWalk = R"js(globalThis.flattenInPage = () => {
    const names = ["listingTitle", "listing-address", "primary-contacts", "website", "media-class",
        "listing-heading", "dropdown-basic-body", "email", "search-contact-card call-to-actions",
        "enhancedTextDesc", "listing-short-description", "listing-name", "listing-details"];
    const forms = [0, 0, 1, 0, 0, 0, 2, 0, 3, 0, 0, 0, 0];
    const text = (element) => element.innerText ?? element.textContent;
    const all = document.body.getElementsByTagName("*");
    const count = all.length;
    const parts = [];
    for (let i = 0; i < count; ++i) {
        const element = all[i];
        const className = element.getAttribute("class") ?? "";
        for (let n = 0; n < names.length; ++n) {
            const name = names[n];
            if (!className.includes(name)) continue;
            switch (forms[n]) {
                case 0: parts.push(name, ": ", text(element), "\r\n"); break;
                case 1: parts.push(name, ": ", element.innerHTML, "\r\n", name, ":. ", text(element), "\r\n"); break;
                case 2: parts.push("+-\u00a7--", name, ": ", element.innerHTML, "\r\n"); break;
                case 3: parts.push("+-\u00a7--", name, ": ", element.outerHTML, "\r\n", name, "INNER: ", text(element), "\r\n"); break;
            }
        }
    }
    return parts.join("");
};)js";

QString runInPage(const QString& code) {
    QString answer;
    QEventLoop answered;
    g_browser->engineView()->page()->runJavaScript(code, [&](const QVariant& value) {
        answer = value.toString();
        answered.quit();
    });
    answered.exec();
    return answer;
}

QString walkInPage() {
    return runInPage(QStringLiteral("flattenInPage()"));
}

void BM_InPageWalk(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(walkInPage());
    }
}
BENCHMARK(BM_InPageWalk)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

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
    std::printf("the in-page walk gives the same text: %s\n",
                walkInPage() == larkspan::FlattenPage(document.get()) ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv) {
    larkspan::EngineBenchApplication application(argc, argv);
    larkspan::TWebbrowser browser;
    if (!larkspan::loadHeavyResultPage(browser)) {
        return 1;
    }
    g_browser = &browser;
    runInPage(QString::fromUtf8(kInPageWalk));
    reportUnbatchedReads();
    return application.runBenchmarks(argc, argv);
}
