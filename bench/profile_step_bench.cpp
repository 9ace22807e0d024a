// A capture profile's step on a real page: from "page loaded" to "result lines ready" (one engine
// call that evaluates the fourteen field selectors in every listing, then the field rules), on a
// page of 50 listings in the markup of samples/plain, with the sample site's profile.

#include "browser/twebbrowser.h"
#include "capture/profile_listing_source.h"
#include "capture/profile_reader.h"
#include "engine_bench.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kListings = 50;

larkspan::TWebbrowser* g_browser = nullptr;

class BrowserPage : public larkspan::ShownPage {
public:
    std::shared_ptr<larkspan::dom::Document> currentDocument() override {
        return g_browser->Document();
    }
    QUrl currentAddress() override { return QUrl(g_browser->LocationURL()); }
};

// The sample's first page with its table rows repeated to 50 listings.
QByteArray pageOfFiftyListings() {
    QFile sample(QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/plain/page1.html"));
    if (!sample.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString page = QString::fromUtf8(sample.readAll());
    static const QRegularExpression firm(QStringLiteral(R"(<tr class="firm"[ >].*?</tr>)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    QStringList rows;
    for (const QRegularExpressionMatch& match : firm.globalMatch(page)) {
        rows.append(match.captured());
    }
    if (rows.isEmpty()) {
        return {};
    }
    QString fifty;
    for (int i = 0; i < kListings; ++i) {
        fifty += rows[i % rows.size()];
    }
    const qsizetype first = page.indexOf(rows.front());
    const qsizetype last = page.indexOf(rows.back()) + rows.back().size();
    return page.replace(first, last - first, fifty).toUtf8();
}

void BM_ProfileStep(benchmark::State& state) {
    larkspan::ProfileListingSource source(
        larkspan::readCaptureProfileFile(
            QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/profiles/plain.json")),
        {[](std::chrono::milliseconds) { return false; }, std::chrono::milliseconds(0)});
    BrowserPage page;
    qsizetype lines = 0;
    for (auto _ : state) {
        lines = source.read(page).value().resultLines.size();
    }
    state.counters["listings"] = static_cast<double>(lines);
}
BENCHMARK(BM_ProfileStep)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    larkspan::EngineBenchApplication application(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fifty.html"));
    QFile file(path);
    const QByteArray html = pageOfFiftyListings();
    if (html.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(html) != html.size()) {
        std::fputs("cannot write the page of 50 listings\n", stderr);
        return 1;
    }
    file.close();
    larkspan::TWebbrowser browser;
    browser.Navigate(QUrl::fromLocalFile(path));
    if (!browser.waitUntilComplete() || !browser.Document()) {
        std::fputs("cannot load the page of 50 listings\n", stderr);
        return 1;
    }
    g_browser = &browser;
    return application.runBenchmarks(argc, argv);
}
