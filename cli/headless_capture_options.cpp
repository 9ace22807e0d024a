#include "cli/headless_capture_options.h"

#include <QJsonArray>

namespace larkspan {
namespace {

const QString kTakenKey = QStringLiteral("taken");

}  // namespace

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
    const QJsonObject source = listingSource.toJson();
    for (auto it = source.begin(); it != source.end(); ++it) {
        json.insert(it.key(), it.value());
    }
    if (takenSource) {
        json.insert(kTakenKey, takenSource->toJson());
    }
    if (!searches.isEmpty()) {
        QJsonArray addresses;
        for (const QUrl& search : searches) {
            addresses.append(search.toString());
        }
        json.insert(QStringLiteral("searches"), addresses);
        json.insert(QStringLiteral("searchesDone"), batch.searchesDone);
        json.insert(QStringLiteral("pagesDone"), batch.pagesDone);
        json.insert(QStringLiteral("searchFailures"), QJsonArray::fromStringList(batch.failures));
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
    if (json.contains(kTakenKey)) {
        options.takenSource = ListingSourceChoice::fromJson(json.value(kTakenKey).toObject());
    }
    for (const QJsonValue& search : json.value(QStringLiteral("searches")).toArray()) {
        options.searches.append(QUrl(search.toString()));
    }
    options.batch.searchesDone = json.value(QStringLiteral("searchesDone")).toInt();
    options.batch.pagesDone = json.value(QStringLiteral("pagesDone")).toInt();
    for (const QJsonValue& failure : json.value(QStringLiteral("searchFailures")).toArray()) {
        options.batch.failures.append(failure.toString());
    }
    return options;
}

}  // namespace larkspan
