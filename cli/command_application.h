#pragma once

#include <QStringList>

#include <functional>

namespace larkspan {

// Runs a command (`larkspan NAME ...`) in the application it needs, with its arguments after the
// program and without NAME; gives what the command gives.
using CommandRun = std::function<int(const QStringList& arguments)>;

// Plain: no window system, no browser engine.
int runInCoreApplication(int argc, char* argv[], const CommandRun& command);

// With the browser engine, headless: nothing is ever shown, so no display is needed, and the
// engine's notes about the missing graphics stack are kept off standard error, which carries the
// command's own lines.
int runInEngineApplication(int argc, char* argv[], const CommandRun& command);

}  // namespace larkspan
