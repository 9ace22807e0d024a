#pragma once

namespace larkspan {

// "larkspan capture": captures listings without a window, from a flattened listing text
// (--from-text) or from result pages loaded in a browser that is never shown. Creates the
// application object it needs; gives the process exit code.
int runCaptureCommand(int argc, char* argv[]);

}  // namespace larkspan
