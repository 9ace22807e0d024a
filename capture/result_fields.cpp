#include "capture/result_fields.h"

namespace larkspan {

const std::array<ResultColumn, kResultColumnCount>& resultColumns() {
    static const std::array<ResultColumn, kResultColumnCount> columns{{
        {QStringLiteral("Name"), QStringLiteral("name")},
        {QStringLiteral("Phone"), QStringLiteral("phone")},
        {QStringLiteral("E-mail"), QStringLiteral("email")},
        {QStringLiteral("Street"), QStringLiteral("street")},
        {QStringLiteral("Postcode"), QStringLiteral("postcode")},
        {QStringLiteral("City"), QStringLiteral("city")},
        {QStringLiteral("State"), QStringLiteral("state")},
        {QStringLiteral("Heading"), QStringLiteral("heading")},
        {QStringLiteral("Description"), QStringLiteral("description")},
        {QStringLiteral("Website"), QStringLiteral("website"), true},
        {QStringLiteral("Longitude"), QStringLiteral("longitude")},
        {QStringLiteral("Latitude"), QStringLiteral("latitude")},
        {QStringLiteral("Map link"), QStringLiteral("map_link"), true},
        {QStringLiteral("Listing page"), QStringLiteral("listing_page"), true},
    }};
    return columns;
}

QStringList resultFields(const QString& line) {
    QStringList fields;
    if (!line.startsWith(u'"')) {
        fields.append(line);
    }
    qsizetype at = 0;
    while (fields.isEmpty() || (at < line.size() && line[at] == u'"')) {
        QString field;
        for (++at; at < line.size(); ++at) {
            if (line[at] != u'"') {
                field += line[at];
            } else if (at + 1 < line.size() && line[at + 1] == u'"') {
                field += u'"';
                ++at;
            } else if (at + 1 == line.size() || line[at + 1] == u',') {
                break;
            } else {
                // A quote in the middle of a field that nobody doubled stays part of it.
                field += u'"';
            }
        }
        fields.append(field);
        at += 2;  // the closing quote and the comma
    }
    fields.resize(kResultColumnCount);
    return fields;
}

QString resultLineOf(const QStringList& fields) {
    QString line;
    for (const QString& field : fields) {
        if (!line.isEmpty()) {
            line += u',';
        }
        appendQuotedField(line, field);
    }
    return line;
}

// Doubles embedded double quotes so every field stays one CSV field.
void appendQuotedField(QString& line, const QString& value) {
    line += u'"';
    if (value.contains(u'"')) {
        QString field = value;
        line += field.replace(u'"', QStringLiteral("\"\""));
    } else {
        line += value;
    }
    line += u'"';
}

}  // namespace larkspan
