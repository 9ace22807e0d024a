#include "capture/goldleaf_au_entry.h"
#include "capture/listing_text_parser.h"
#include "listing_block_maker.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kListingsPerPage = 35;

// Records per second through the page path: split at "§", parse, accept, as a run does.
void BM_ParsePage(benchmark::State& state) {
    const QString page = makeFlattenedPage(kListingsPerPage);
    larkspan::ListingTextParser parser;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parser.resultLines(page));
    }
    state.SetItemsProcessed(state.iterations() * kListingsPerPage);
    state.SetBytesProcessed(state.iterations() * page.size() * 2);
}
BENCHMARK(BM_ParsePage);

// One record with no shared patterns: every pattern compiled afresh, as a lone record does.
void BM_ParseRecordUncached(benchmark::State& state) {
    const QString block = makeListingBlock(7);
    for (auto _ : state) {
        larkspan::TGoldleafAUentry entry(block);
        entry.ExecuteL();
        benchmark::DoNotOptimize(entry.ResultLine());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseRecordUncached);

}  // namespace

BENCHMARK_MAIN();
