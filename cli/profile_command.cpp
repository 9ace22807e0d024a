#include "cli/profile_command.h"

#include "capture/profile_folder.h"
#include "cli/command_application.h"
#include "cli/command_line.h"
#include "cli/profile_check.h"
#include "cli/profile_detect_command.h"

#include <QCommandLineParser>

#include <algorithm>
#include <cstdio>
#include <string_view>

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
        QStringLiteral("Works with capture profiles, saved as NAME.json in %1.")
            .arg(ProfileFolder::defaultPath()));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("COMMAND"),
        QStringLiteral("list: list the saved profiles. check FILE|NAME ADDRESS: load the page at "
                       "ADDRESS (an address or a file) and show what the profile finds there. "
                       "detect ADDRESS [-o FILE]: find the listings of the page and write a "
                       "profile for them (larkspan profile detect --help)."),
        QStringLiteral("list | check FILE|NAME ADDRESS | detect ADDRESS"));
    return runReportingErrors([&] {
        if (parseOrShowHelp(parser, arguments, QStringLiteral("profile"))) {
            return 0;
        }
        const QStringList positional = parser.positionalArguments();
        if (positional.isEmpty()) {
            throw UsageError("profile needs a command: list, check or detect");
        }
        const QString& command = positional.front();
        if (command == u"list") {
            if (positional.size() != 1) {
                throw UsageError("profile list takes no arguments");
            }
            return listProfiles();
        }
        if (command == u"check") {
            if (positional.size() != 3) {
                throw UsageError("profile check needs a profile (FILE or NAME) and an ADDRESS");
            }
            return checkProfileOnPage(positional[1], positional[2]);
        }
        throw UsageError((QStringLiteral("unknown profile command '") + command +
                          QStringLiteral("' (known: list, check, detect)"))
                             .toStdString());
    });
}

// Only checking a profile on a page needs the browser engine.
bool needsBrowser(int argc, char* argv[]) {
    for (int i = 2; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (!argument.starts_with('-')) {
            return argument == "check";
        }
    }
    return false;
}

}  // namespace

int runProfileCommand(int argc, char* argv[]) {
    // Detection has options of its own.
    if (argc > 2 && std::string_view(argv[2]) == "detect") {
        return runProfileDetectCommand(argc, argv);
    }
    return needsBrowser(argc, argv) ? runInEngineApplication(argc, argv, run)
                                    : runInCoreApplication(argc, argv, run);
}

}  // namespace larkspan
