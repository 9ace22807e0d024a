#include "capture/profile_listings.h"
#include "capture/profile_reader.h"

#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace {

constexpr int kListingsPerPage = 50;

// What the page script gives for one row of samples/plain, numbered so no two rows are alike.
QJsonObject foundRow(int row) {
    const QString number = QString::number(row);
    const QString address = number + QStringLiteral(" Station Rd, Unit ") + number +
                            QStringLiteral(",\n   Ashgrove QLD 4060 ");
    return {
        {"name", "\n   Ashgrove Electrical " + number + "  "},
        {"phone", "Tel. 07 3366 " + number},
        {"email", "mailto:jobs" + number + "@ashgroveelectrical.example"},
        {"street", address},
        {"postcode", address},
        {"city", address},
        {"state", address},
        {"heading", "Electricians"},
        {"description",
         "Switchboards, safety switches and\n          rewiring of older homes, since 19" + number},
        {"website", "https://www.ashgroveelectrical.example/" + number},
        {"longitude", "152.9860"},
        {"latitude", "-27.4445"},
        {"map_link", "https://maps.example/?ll=-27.4445,152.9860"},
        {"listing_page", "http://127.0.0.1:8000/firms/ashgrove-electrical-" + number + ".html"},
    };
}

// A page of listings through the sample profile's fourteen field rules (seven of them
// patterns), to result lines and the page's digest.
void BM_ProfileListingsPage(benchmark::State& state) {
    const larkspan::CaptureProfile profile = larkspan::readCaptureProfileFile(
        QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/profiles/plain.json"));
    QJsonArray found;
    for (int row = 0; row < kListingsPerPage; ++row) {
        found.append(foundRow(row));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(larkspan::profileListings(profile, found));
    }
    state.SetItemsProcessed(state.iterations() * kListingsPerPage);
}
BENCHMARK(BM_ProfileListingsPage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
