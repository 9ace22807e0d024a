#pragma once

#include <stdexcept>

namespace larkspan {

// A capture profile that cannot be used. The message names the file, then where in it (line
// and column, or the key) and what is wrong, and is shown as it stands.
class ProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace larkspan
