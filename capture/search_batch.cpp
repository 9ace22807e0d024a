#include "capture/search_batch.h"

#include "capture/listing_source.h"

#include <QJsonArray>

namespace larkspan {
namespace {

const QString kSearches = QStringLiteral("searches");
const QString kSearchesDone = QStringLiteral("searchesDone");
const QString kPagesDone = QStringLiteral("pagesDone");
const QString kFailures = QStringLiteral("searchFailures");

}  // namespace

void BatchProgress::addTo(QJsonObject& settings, const QList<QUrl>& searches) const {
    QJsonArray addresses;
    for (const QUrl& search : searches) {
        addresses.append(search.toString());
    }
    settings.insert(kSearches, addresses);
    settings.insert(kSearchesDone, searchesDone);
    settings.insert(kPagesDone, pagesDone);
    settings.insert(kFailures, QJsonArray::fromStringList(failures));
}

BatchProgress BatchProgress::of(const QJsonObject& settings) {
    BatchProgress progress;
    progress.searchesDone = settings.value(kSearchesDone).toInt();
    progress.pagesDone = settings.value(kPagesDone).toInt();
    for (const QJsonValue& failure : settings.value(kFailures).toArray()) {
        progress.failures.append(failure.toString());
    }
    return progress;
}

QList<QUrl> BatchProgress::searchesOf(const QJsonObject& settings) {
    QList<QUrl> searches;
    for (const QJsonValue& search : settings.value(kSearches).toArray()) {
        searches.append(QUrl(search.toString()));
    }
    return searches;
}

QString searchName(int number, qsizetype count) {
    return QStringLiteral("search %1/%2").arg(QString::number(number), QString::number(count));
}

QStringList searchesListed(const QStringList& lines) {
    QStringList searches;
    for (const QString& line : lines) {
        const QString search = line.trimmed();
        if (!search.isEmpty() && !search.startsWith(u'#')) {
            searches.append(search);
        }
    }
    return searches;
}

QString countSearchEnd(BatchProgress& progress, const RunEnd& end, qsizetype count) {
    const QString search = searchName(progress.searchesDone + 1, count);
    QString said;
    if (end.cause == RunEnd::Cause::TurnFailed || end.cause == RunEnd::Cause::HumanCheck) {
        said = search + QStringLiteral(": ") + cutShortText(end.pagesCaptured, end.failure);
        progress.failures.append(said);
    } else if (end.cause == RunEnd::Cause::RepeatedPage) {
        said = search + QStringLiteral(": ") + repetitionText(end) +
               QStringLiteral("; the search ends here");
    }
    progress.pagesDone += end.pagesCaptured;
    ++progress.searchesDone;
    return said;
}

RunEnd batchEnd(const BatchProgress& progress, qsizetype count) {
    if (progress.failures.isEmpty()) {
        return {.cause = RunEnd::Cause::LastPage, .pagesCaptured = progress.pagesDone};
    }
    return {.cause = RunEnd::Cause::TurnFailed,
            .pagesCaptured = progress.pagesDone,
            .failure = QStringLiteral("%1 of %2 searches did not end normally")
                           .arg(QString::number(progress.failures.size()), QString::number(count))};
}

RunEnd captureSearches(CaptureHost& host, const QList<QUrl>& searches, BatchProgress& progress,
                       ChainStart start, const SearchBatchHost& batchHost) {
    const qsizetype count = searches.size();
    while (progress.searchesDone < count) {
        batchHost.searchStarts(progress);
        RunEnd end = capturePageChain(host, batchHost.newSource(), start);
        if (batchHost.stopped() || end.cause == RunEnd::Cause::Error) {
            end.pagesCaptured += progress.pagesDone;
            return end;
        }
        const QString said = countSearchEnd(progress, end, count);
        batchHost.searchEnded(progress, said);
        if (progress.searchesDone < count) {
            start = {.address = searches[progress.searchesDone]};
        }
    }
    return batchEnd(progress, count);
}

}  // namespace larkspan
