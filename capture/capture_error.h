#pragma once

#include <stdexcept>

namespace larkspan {

// A page that the capture engine cannot work on. The message is shown to the user as it stands;
// failures of the browser engine itself arrive as dom::DomError instead.
class CaptureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace larkspan
