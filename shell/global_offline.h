#pragma once

namespace larkspan {

// Whether the system reports that this computer is offline; false when it cannot tell.
bool IsGlobalOffline();

}  // namespace larkspan
