#include "cli/headless_capture_options.h"

namespace larkspan {

QJsonObject HeadlessCaptureOptions::toJson() const {
    QJsonObject json{
        {QStringLiteral("output"), outputPath},
        {QStringLiteral("format"), resultsFormatName(format)},
        {QStringLiteral("csvFormulaGuard"), guardFormulas},
        {QStringLiteral("dedupe"), dropRepeatedListings},
        {QStringLiteral("flattenedDir"), flattenedDir},
        {QStringLiteral("delay"), delay.text()},
        {QStringLiteral("pageTimeoutMs"), qint64(pageTimeout.count())},
        {QStringLiteral("directoryBase"), addresses.directoryBase},
        {QStringLiteral("mapBase"), addresses.mapBase},
    };
    if (maxPages) {
        json.insert(QStringLiteral("maxPages"), *maxPages);
    }
    const QJsonObject chosen = listingSource.toJson();
    for (auto it = chosen.begin(); it != chosen.end(); ++it) {
        json.insert(it.key(), it.value());
    }
    ListingSourceChoice::keepTaken(json, takenSource);
    if (!searches.isEmpty()) {
        batch.addTo(json, searches);
        json.insert(QStringLiteral("parallel"), parallelPages);
    }
    return json;
}

HeadlessCaptureOptions HeadlessCaptureOptions::fromJson(const QUrl& source,
                                                        const QJsonObject& json) {
    HeadlessCaptureOptions options;
    options.source = source;
    options.outputPath = json.value(QStringLiteral("output")).toString();
    options.format = resultsFormatNamed(json.value(QStringLiteral("format")).toString())
                         .value_or(ResultsFormat::Csv);
    options.guardFormulas = json.value(QStringLiteral("csvFormulaGuard")).toBool();
    options.dropRepeatedListings = json.value(QStringLiteral("dedupe")).toBool();
    options.flattenedDir = json.value(QStringLiteral("flattenedDir")).toString();
    options.delay = PageTurnDelay::parse(json.value(QStringLiteral("delay")).toString())
                        .value_or(PageTurnDelay());
    options.pageTimeout = std::chrono::milliseconds(
        json.value(QStringLiteral("pageTimeoutMs")).toInteger(options.pageTimeout.count()));
    options.addresses.directoryBase =
        json.value(QStringLiteral("directoryBase")).toString(options.addresses.directoryBase);
    options.addresses.mapBase =
        json.value(QStringLiteral("mapBase")).toString(options.addresses.mapBase);
    if (json.contains(QStringLiteral("maxPages"))) {
        options.maxPages = json.value(QStringLiteral("maxPages")).toInt();
    }
    options.listingSource = ListingSourceChoice::fromJson(json);
    options.takenSource = ListingSourceChoice::takenIn(json);
    options.searches = BatchProgress::searchesOf(json);
    options.batch = BatchProgress::of(json);
    options.parallelPages = json.value(QStringLiteral("parallel")).toInt(1);
    return options;
}

}  // namespace larkspan
