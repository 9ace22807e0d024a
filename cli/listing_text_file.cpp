#include "cli/listing_text_file.h"

namespace larkspan {

ListingTextFile::ListingTextFile(const QString& path) : m_file(path), m_reader(m_file, path) {
    if (!m_file.open(QIODevice::ReadOnly)) {
        throw ListingTextReadError(
            QStringLiteral("cannot read %1: %2").arg(path, m_file.errorString()).toStdString());
    }
}

}  // namespace larkspan
