#pragma once

#include "capture/listing_text_reader.h"

#include <QFile>
#include <QString>

namespace larkspan {

// A flattened listing text saved from the Parser panel, open to be read a piece at a time.
// Throws ListingTextReadError ("cannot read PATH: reason") when it cannot be opened or read.
class ListingTextFile {
public:
    explicit ListingTextFile(const QString& path);

    ListingTextReader& reader() { return m_reader; }

private:
    QFile m_file;
    ListingTextReader m_reader;
};

}  // namespace larkspan
