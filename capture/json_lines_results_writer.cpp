#include "capture/json_lines_results_writer.h"

#include "capture/result_fields.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace larkspan {
namespace {

// A JSON string as Qt writes it: an object would sort its keys, so the members are joined here.
QByteArray jsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.sliced(1, array.size() - 2);  // without the brackets
}

QByteArray jsonLineOf(const QString& resultLine) {
    const QStringList fields = resultFields(resultLine);
    QByteArray line = "{";
    for (int column = 0; column < kResultColumnCount; ++column) {
        if (column > 0) {
            line += ',';
        }
        line += jsonString(resultColumns()[column].key) + ':' + jsonString(fields[column]);
    }
    return line + "}\n";
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
