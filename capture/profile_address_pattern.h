#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class QUrl;

namespace larkspan {

// One of the address patterns a profile `matches`: `*` stands for any run of characters, every
// other character for itself, letter case aside. It has to cover the whole address.
class ProfileAddressPattern {
public:
    explicit ProfileAddressPattern(const QString& pattern);

    const QString& text() const { return m_text; }
    // Tried on the address as shown and fully encoded, whichever way the author wrote it.
    bool matches(const QUrl& address) const;

private:
    bool matchesText(QStringView address) const;

    QString m_text;
    // The literal pieces between the stars.
    QStringList m_pieces;
};

}  // namespace larkspan
