#include "capture/goldleaf_au_entry.h"
#include "capture/listing_text_parser.h"
#include "capture/listing_text_reader.h"
#include "capture/result_line_encoder.h"
#include "listing_block_maker.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

namespace {

constexpr int kListingsPerPage = 35;
constexpr int kPagesPerText = 100;

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

// Records per second from bytes to bytes, as `capture --from-text` goes: read the UTF-8 text,
// decode it, cut it into blocks, parse them, format the lines and encode them for the file.
void BM_WholePath(benchmark::State& state) {
    QByteArray text = makeFlattenedPage(kListingsPerPage).repeated(kPagesPerText).toUtf8();
    larkspan::ListingTextParser parser;
    qint64 lines = 0;
    for (auto _ : state) {
        QBuffer input(&text);
        input.open(QIODevice::ReadOnly);
        larkspan::ListingTextReader reader(input, QStringLiteral("text"));
        larkspan::ResultLineEncoder encoder;
        lines = parser.parse(reader, [&encoder](const QString& line) {
            encoder.append(line);
            if (encoder.isFull()) {
                benchmark::DoNotOptimize(encoder.takeBatch());
            }
        });
        benchmark::DoNotOptimize(encoder.takeBatch());
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.SetItemsProcessed(state.iterations() * kListingsPerPage * kPagesPerText);
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_WholePath)->Unit(benchmark::kMillisecond);

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
