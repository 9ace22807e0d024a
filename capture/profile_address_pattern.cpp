#include "capture/profile_address_pattern.h"

#include <QUrl>

namespace larkspan {

ProfileAddressPattern::ProfileAddressPattern(const QString& pattern)
    : m_text(pattern), m_pieces(pattern.split(u'*')) {}

bool ProfileAddressPattern::matches(const QUrl& address) const {
    const QString shown = address.toString();
    const QString encoded = address.toString(QUrl::FullyEncoded);
    return matchesText(shown) || (encoded != shown && matchesText(encoded));
}

bool ProfileAddressPattern::matchesText(QStringView address) const {
    const QString& first = m_pieces.constFirst();
    if (m_pieces.size() == 1) {
        return address.compare(first, Qt::CaseInsensitive) == 0;
    }
    const QString& last = m_pieces.constLast();
    if (address.size() < first.size() + last.size() ||
        !address.startsWith(first, Qt::CaseInsensitive) ||
        !address.endsWith(last, Qt::CaseInsensitive)) {
        return false;
    }
    // Taking each middle piece at its first place left is enough: a star absorbs the rest.
    qsizetype at = first.size();
    const qsizetype end = address.size() - last.size();
    for (qsizetype piece = 1; piece + 1 < m_pieces.size(); ++piece) {
        const qsizetype found =
            address.first(end).indexOf(m_pieces[piece], at, Qt::CaseInsensitive);
        if (found < 0) {
            return false;
        }
        at = found + m_pieces[piece].size();
    }
    return true;
}

}  // namespace larkspan
