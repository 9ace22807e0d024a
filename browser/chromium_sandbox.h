#pragma once

namespace larkspan {

// Chromium refuses to start as root with its sandbox on. When the process runs as root, turns
// the sandbox off and says so in one line on standard error; otherwise the sandbox stays on.
// Must run before the QApplication is created. Gives whether it turned the sandbox off.
bool disableSandboxWhenRoot();

}  // namespace larkspan
