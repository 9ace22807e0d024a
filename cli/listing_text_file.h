#pragma once

#include <QString>

#include <stdexcept>

namespace larkspan {

class ListingTextFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a flattened listing text saved from the Parser panel: UTF-16 or UTF-8 when it starts
// with a byte-order mark, UTF-8 otherwise. Throws ListingTextFileError when it cannot be read.
QString readListingTextFile(const QString& path);

}  // namespace larkspan
