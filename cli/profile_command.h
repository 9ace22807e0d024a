#pragma once

namespace larkspan {

// `larkspan profile list`: lists the saved capture profiles, each with its name, file and
// address patterns. Gives the process exit code.
int runProfileCommand(int argc, char* argv[]);

}  // namespace larkspan
