#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <limits>
#include <stdexcept>

class QCommandLineOption;
class QCommandLineParser;

namespace larkspan {

inline constexpr int kExitUsage = 2;

// A command-line mistake: reported with the usage exit code.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "larkspan: MESSAGE" on standard error.
void printError(const QString& message);

// Parses the arguments of the command `larkspan NAME` (the first argument is the program);
// throws UsageError for what the parser does not take. True when --help was asked for: its text,
// naming the command as users type it, has then gone to standard output.
bool parseOrShowHelp(QCommandLineParser& parser, const QStringList& arguments, const QString& name);

// The whole number given to the option; throws UsageError ("--NAME needs a whole number ...")
// unless it is one within the range.
int wholeNumber(const QCommandLineParser& parser, const QCommandLineOption& option, int minimum,
                int maximum = std::numeric_limits<int>::max());

// Runs a command, telling what it throws in one line: a UsageError or a ProfileError gives the
// usage exit code, any other failure 1.
int runReportingErrors(const std::function<int()>& command);

}  // namespace larkspan
