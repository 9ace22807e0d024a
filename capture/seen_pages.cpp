#include "capture/seen_pages.h"

#include <QCryptographicHash>

namespace larkspan {

QByteArray SeenPages::digestOf(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    const QByteArrayView bytes(reinterpret_cast<const char*>(text.utf16()),
                               text.size() * qsizetype(sizeof(char16_t)));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

std::optional<int> SeenPages::earlierPageWith(const QByteArray& digest) const {
    const auto page = m_pages.constFind(digest);
    return digest.isEmpty() || page == m_pages.cend() ? std::nullopt : std::optional<int>(*page);
}

void SeenPages::remember(const QByteArray& digest, int pageNumber) {
    if (!digest.isEmpty()) {
        m_pages.insert(digest, pageNumber);
    }
}

}  // namespace larkspan
