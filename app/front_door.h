#pragma once

namespace larkspan {

// What the command line asks of the program, decided before anything heavy starts: the
// window (no arguments), the capture command, --help, --version, or a usage error. Gives the
// process exit code.
int runFrontDoor(int argc, char* argv[]);

}  // namespace larkspan
