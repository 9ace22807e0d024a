#include "cli/command_line.h"

#include "capture/profile_error.h"

#include <QCommandLineParser>

#include <cstdio>

namespace larkspan {

void printError(const QString& message) {
    std::fprintf(stderr, "larkspan: %s\n", qPrintable(message));
}

bool parseOrShowHelp(QCommandLineParser& parser, const QStringList& arguments,
                     const QString& name) {
    if (!parser.parse(arguments)) {
        throw UsageError(parser.errorText().toStdString());
    }
    if (!parser.isSet(QStringLiteral("help"))) {
        return false;
    }
    // The parser names the program by its path.
    QString help = parser.helpText();
    help.replace(help.indexOf(arguments.constFirst()), arguments.constFirst().size(),
                 QStringLiteral("larkspan ") + name);
    std::fputs(qPrintable(help), stdout);
    return true;
}

int wholeNumber(const QCommandLineParser& parser, const QCommandLineOption& option, int minimum,
                int maximum) {
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (ok && value >= minimum && value <= maximum) {
        return value;
    }
    const QString range = maximum == std::numeric_limits<int>::max()
                              ? QStringLiteral("of at least %1").arg(minimum)
                              : QStringLiteral("from %1 to %2")
                                    .arg(QString::number(minimum), QString::number(maximum));
    throw UsageError(QStringLiteral("--%1 needs a whole number %2")
                         .arg(option.names().constLast(), range)
                         .toStdString());
}

int runReportingErrors(const std::function<int()>& command) {
    try {
        return command();
    } catch (const UsageError& error) {
        printError(QString::fromUtf8(error.what()));
        return kExitUsage;
    } catch (const ProfileError& error) {
        // A profile is part of what the user asked for.
        printError(QString::fromUtf8(error.what()));
        return kExitUsage;
    } catch (const std::exception& error) {
        printError(QString::fromUtf8(error.what()));
        return 1;
    }
}

}  // namespace larkspan
