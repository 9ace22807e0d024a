#include "capture/json_lines_results_writer.h"

#include "capture/result_fields.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace larkspan {
namespace {

QByteArray jsonLineOf(const QString& resultLine) {
    const QStringList fields = resultFields(resultLine);
    QJsonObject listing;
    for (int column = 0; column < kResultColumnCount; ++column) {
        listing.insert(resultColumns()[column].key, fields[column]);
    }
    return QJsonDocument(listing).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace

QByteArray JsonLinesResultsWriter::encodePage(const QStringList& lines, bool) const {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += jsonLineOf(line);
    }
    return bytes;
}

}  // namespace larkspan
