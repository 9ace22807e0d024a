#include "capture/seen_pages.h"

#include <QCryptographicHash>

namespace larkspan {

std::optional<int> SeenPages::earlierPageWith(const QString& text) const {
    // Pages without listings all look alike, and a run may well pass several of them.
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const auto page = m_pages.constFind(digestOf(text));
    return page == m_pages.cend() ? std::nullopt : std::optional<int>(*page);
}

void SeenPages::remember(const QString& text, int pageNumber) {
    if (!text.isEmpty()) {
        m_pages.insert(digestOf(text), pageNumber);
    }
}

QByteArray SeenPages::digestOf(const QString& text) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(text.utf16()),
                               text.size() * qsizetype(sizeof(char16_t)));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

}  // namespace larkspan
