#pragma once

namespace larkspan {

// Starts the program with its main window and runs it until the window closes; gives the exit
// code.
int runWindow(int argc, char* argv[]);

}  // namespace larkspan
