#pragma once

namespace larkspan {

// `larkspan profile list`: lists the saved capture profiles, each with its name, file and
// address patterns; `larkspan profile check FILE|NAME ADDRESS`: what a profile finds on a page
// (see cli/profile_check.h). Gives the process exit code.
int runProfileCommand(int argc, char* argv[]);

}  // namespace larkspan
