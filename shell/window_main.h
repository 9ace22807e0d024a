#pragma once

#include <QUrl>

#include <optional>

namespace larkspan {

// Starts the program with its main window, on `startAddress` in the capture tab when there is
// one, and runs it until the window closes; gives the exit code.
int runWindow(int argc, char* argv[], const std::optional<QUrl>& startAddress);

}  // namespace larkspan
