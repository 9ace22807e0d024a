#include "cli/profile_command.h"

#include "capture/profile_folder.h"
#include "cli/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace larkspan {
namespace {

void print(FILE* stream, const QString& text) {
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}

QString patternsOf(const CaptureProfile& profile) {
    QStringList patterns;
    for (const ProfileAddressPattern& pattern : profile.matches()) {
        patterns.append(pattern.text());
    }
    return patterns.isEmpty() ? QStringLiteral("-") : patterns.join(u' ');
}

// Failure when a saved profile does not read: each says why on standard error.
int listProfiles() {
    const ProfileFolder folder;
    const SavedProfiles saved = folder.readAll();
    if (saved.profiles.isEmpty() && saved.errors.isEmpty()) {
        print(stdout, QStringLiteral("No saved profiles in ") + folder.path() + u'\n');
        return 0;
    }
    qsizetype nameWidth = 4;
    qsizetype fileWidth = 4;
    for (const CaptureProfile& profile : saved.profiles) {
        nameWidth = std::max(nameWidth, profile.name().size());
        fileWidth = std::max(fileWidth, profile.file().size());
    }
    const auto row = [&](const QString& name, const QString& file, const QString& matches) {
        print(stdout, name.leftJustified(nameWidth) + QStringLiteral("  ") +
                          file.leftJustified(fileWidth) + QStringLiteral("  ") + matches + u'\n');
    };
    if (!saved.profiles.isEmpty()) {
        row(QStringLiteral("Name"), QStringLiteral("File"), QStringLiteral("Matches"));
    }
    for (const CaptureProfile& profile : saved.profiles) {
        row(profile.name(), profile.file(), patternsOf(profile));
    }
    for (const QString& error : saved.errors) {
        printError(error);
    }
    return saved.errors.isEmpty() ? 0 : 1;
}

int run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists the saved capture profiles (NAME.json in %1).")
            .arg(ProfileFolder::defaultPath()));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("list"), QStringLiteral("List them."));
    return runReportingErrors([&] {
        if (parseOrShowHelp(parser, arguments, QStringLiteral("profile"))) {
            return 0;
        }
        const QStringList positional = parser.positionalArguments();
        if (positional == QStringList{QStringLiteral("list")}) {
            return listProfiles();
        }
        if (positional.isEmpty()) {
            throw UsageError("profile needs a command: list");
        }
        if (positional.front() == QLatin1String("list")) {
            throw UsageError("profile list takes no arguments");
        }
        throw UsageError((QStringLiteral("unknown profile command '") + positional.front() +
                          QStringLiteral("' (known: list)"))
                             .toStdString());
    });
}

}  // namespace

int runProfileCommand(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeAt(1);  // "profile"
    return run(arguments);
}

}  // namespace larkspan
