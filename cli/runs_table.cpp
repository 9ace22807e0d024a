#include "cli/runs_table.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <array>

namespace larkspan {
namespace {

constexpr qsizetype kColumns = 8;
// Numbers line up on their right.
constexpr std::array<bool, kColumns> kRightAligned = {true, false, false, false,
                                                      true, true,  false, false};
const QString kGap = QStringLiteral("  ");

using Row = std::array<QString, kColumns>;

// Where the run takes its listings from, short: the kept profile by its name, which is read from
// its content without judging the rest.
QString listingSourceText(const QJsonObject& settings) {
    const QString source = settings.value(QLatin1String("source")).toString();
    if (source == u"profile") {
        const QString name =
            QJsonDocument::fromJson(
                settings.value(QLatin1String("profileContent")).toString().toUtf8())
                .object()
                .value(QLatin1String("name"))
                .toString();
        QString shown;
        // Nothing in a name may speak to the terminal.
        for (const QChar character : name.simplified()) {
            if (character.isPrint()) {
                shown += character;
            }
        }
        return QStringLiteral("profile ") + shown;
    }
    if (source == u"auto") {
        const QJsonObject taken = settings.value(QLatin1String("taken")).toObject();
        return taken.isEmpty() ? source : source + QStringLiteral(": ") + listingSourceText(taken);
    }
    return source.isEmpty() ? QStringLiteral("directory") : source;
}

// A batch by its searches; a single search by its first page.
QString sourceCell(const JournalRun& run) {
    const QJsonArray searches = run.settings.value(QLatin1String("searches")).toArray();
    if (searches.isEmpty()) {
        return RunsTable::shownSource(run.source);
    }
    return QStringLiteral("%1 searches (%2 done)")
        .arg(QString::number(searches.size()),
             QString::number(run.settings.value(QLatin1String("searchesDone")).toInt()));
}

}  // namespace

QString RunsTable::shownSource(const QString& source) {
    // Encoded, an address is plain ASCII: one column per character, and nothing in it can
    // break the line or speak to the terminal.
    const QString encoded = QUrl(source).toString(QUrl::FullyEncoded);
    if (encoded.size() <= kWidestSource) {
        return encoded;
    }
    const qsizetype head = (kWidestSource - 1) / 2;
    return encoded.left(head) + QChar(0x2026) + encoded.right(kWidestSource - 1 - head);
}

QString RunsTable::text(const QList<JournalRun>& runs,
                        const std::function<bool(qint64)>& underWay) {
    QList<Row> rows{{QStringLiteral("ID"), QStringLiteral("Started"), QStringLiteral("Kind"),
                     QStringLiteral("From"), QStringLiteral("Pages"), QStringLiteral("Lines"),
                     QStringLiteral("Source"), QStringLiteral("End")}};
    for (const JournalRun& run : runs) {
        rows.append(
            {QString::number(run.id), run.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
             kindName(run.kind), listingSourceText(run.settings), QString::number(run.pages),
             QString::number(run.lines), sourceCell(run), endingText(run, underWay(run.id))});
    }
    std::array<qsizetype, kColumns> widths{};
    for (const Row& row : rows) {
        for (qsizetype column = 0; column < kColumns; ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    QString table;
    for (const Row& row : rows) {
        QStringList cells;
        // The last column runs to the end of the line, unpadded.
        for (qsizetype column = 0; column < kColumns - 1; ++column) {
            cells.append(kRightAligned[column] ? row[column].rightJustified(widths[column])
                                               : row[column].leftJustified(widths[column]));
        }
        cells.append(row.back());
        table += cells.join(kGap) + u'\n';
    }
    return table;
}

}  // namespace larkspan
