#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace larkspan {

// One of the fourteen fields of a result line, in line order: the title people read in a table
// or a workbook, and the key programs read in JSON.
struct ResultColumn {
    QString title;
    QString key;
    // Holds an address worth opening: the website, the map link, the listing page.
    bool isLink = false;
};

inline constexpr int kResultColumnCount = 14;
const std::array<ResultColumn, kResultColumnCount>& resultColumns();

// Positions of the fields other code looks at.
enum ResultField { NameField = 0, PhoneField = 1, ListingPageField = 13 };

// The fields of a result line: each in double quotes, a double quote inside one doubled,
// joined by commas. Always fourteen; a line that is no result line (the Results pane's
// placeholder) is its whole text in the first field.
QStringList resultFields(const QString& line);

// The result line of these fields, quoted as above; the inverse of resultFields.
QString resultLineOf(const QStringList& fields);
// Appends one field, quoted as above.
void appendQuotedField(QString& line, const QString& value);

}  // namespace larkspan
