// The browser operations that move a whole document through the engine: writing an HTML text
// into a page, copying a body into another page (Duplicate Tab), and showing a page again
// with another charset. The texts are far over the 2 MB the engine takes as a page's content.

#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "browser/wb_funcs.h"
#include "browser/web_document.h"
#include "engine_bench.h"


#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

larkspan::TWebbrowser* g_source = nullptr;
larkspan::TWebbrowser* g_target = nullptr;

QString htmlOfSize(qsizetype bytes) {
    const QString listing =
        QStringLiteral("<p class=\"listing\">Harbour Lane Bakery, 112 Kent St</p>\n");
    return listing.repeated(bytes / listing.size());
}

// From the call until the text is the page's document.
void BM_LoadHTML(benchmark::State& state) {
    const QString html = htmlOfSize(state.range(0));
    for (auto _ : state) {
        g_target->LoadHTML(html);
        g_target->waitUntilComplete();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadHTML)->Arg(64 << 10)->Arg(5 << 20)->Unit(benchmark::kMillisecond);

// Reading the source page's body and setting it as the copy's body.
void BM_CopyBody(benchmark::State& state) {
    const auto source = g_source->Document();
    const auto target = g_target->webDocument();
    for (auto _ : state) {
        target->setBodyInnerHTML(source->body()->innerHTML());
    }
}
BENCHMARK(BM_CopyBody)->Unit(benchmark::kMillisecond);

// Reading the page's file again, decoding it and writing it back into the page.
void BM_SetDocumentCharset(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(larkspan::SetDocumentCharset(g_source, QStringLiteral("utf-8")));
    }
}
BENCHMARK(BM_SetDocumentCharset)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    larkspan::EngineBenchApplication application(argc, argv);
    larkspan::TWebbrowser source;
    larkspan::TWebbrowser target;
    source.LoadHTML(htmlOfSize(5 << 20));
    target.LoadHTML(QString());
    if (!source.waitUntilComplete() || !target.waitUntilComplete() || !source.Document()) {
        std::fputs("cannot write the pages\n", stderr);
        return 1;
    }
    g_source = &source;
    g_target = &target;
    return application.runBenchmarks(argc, argv);
}
