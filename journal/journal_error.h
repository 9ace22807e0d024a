#pragma once

#include <stdexcept>

namespace larkspan {

// The journal could not be read or written: "the run journal PATH: reason".
class JournalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace larkspan
