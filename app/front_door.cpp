#include "app/front_door.h"

#include "app/window_arguments.h"
#include "cli/capture_command.h"
#include "cli/command_line.h"
#include "cli/profile_command.h"
#include "cli/runs_command.h"
#include "shell/window_main.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace larkspan {
namespace {

constexpr int kExitNoDisplay = 1;

constexpr const char* kUsage =
    "Usage: larkspan [ADDRESS]\n"
    "       larkspan capture SOURCE... [-o FILE] [OPTIONS]\n"
    "       larkspan capture --sources FILE [--shard K/N] [-o FILE] [OPTIONS]\n"
    "       larkspan capture --from-text FILE [-o FILE]\n"
    "       larkspan capture --resume\n"
    "       larkspan runs [--count N]\n"
    "       larkspan runs export ID [-o FILE]\n"
    "       larkspan runs delete ID...\n"
    "       larkspan runs prune [--keep N] [--older-than DAYS]\n"
    "       larkspan profile list\n"
    "       larkspan profile check FILE|NAME ADDRESS\n"
    "       larkspan profile detect ADDRESS [-o FILE]\n"
    "       larkspan --help | --version\n"
    "\n"
    "Without a command, opens the browser window for capturing directory result pages,\n"
    "on ADDRESS (a web address or a file) when one is given; the toolkit's own options\n"
    "(-platform, -style, -display ...) are taken too. The window needs a display; where\n"
    "there is none, run it under xvfb-run.\n"
    "'larkspan capture' captures them without a window; 'larkspan capture --help' lists its\n"
    "options. 'larkspan runs' lists the recent runs, writes their lines again, and deletes\n"
    "runs to give their space back ('larkspan runs --help').\n"
    "'larkspan profile list' lists the saved capture profiles; 'larkspan profile check' shows\n"
    "what one finds on a page; 'larkspan profile detect' finds the listings of a page and\n"
    "writes a profile for them.\n";

QtMessageHandler g_defaultMessageHandler = nullptr;

// The toolkit aborts, core dump and all, when it finds no display for the window; one line
// that says what to do instead serves better.
void reportMissingDisplay(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        std::fputs(
            "larkspan: no display to open the window on; run it under xvfb-run "
            "(xvfb-run larkspan), or capture without a window: larkspan capture --help\n",
            stderr);
        std::fflush(stderr);
        std::_Exit(kExitNoDisplay);
    }
    // The toolkit's own words on it come first; the line above says it better.
    if (message.contains(QLatin1String("could not connect to display")) ||
        message.contains(QLatin1String("platform plugin"))) {
        return;
    }
    g_defaultMessageHandler(type, context, message);
}

int runWindowOrExplain(int argc, char* argv[], const std::optional<QUrl>& startAddress) {
    g_defaultMessageHandler = qInstallMessageHandler(reportMissingDisplay);
    return runWindow(argc, argv, startAddress);
}

}  // namespace

int runFrontDoor(int argc, char* argv[]) {
    const std::string_view first(argc < 2 ? "" : argv[1]);
    if (first == "capture") {
        return runCaptureCommand(argc, argv);
    }
    if (first == "runs") {
        return runRunsCommand(argc, argv);
    }
    if (first == "profile") {
        return runProfileCommand(argc, argv);
    }
    if (first == "--help" || first == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (first == "--version") {
        std::printf("larkspan %s\n", LARKSPAN_VERSION);
        return 0;
    }
    const WindowArguments window = parseWindowArguments(argc, argv);
    if (window.unknown.isEmpty()) {
        return runWindowOrExplain(argc, argv, window.startAddress);
    }
    const QByteArray unknown = window.unknown.toLocal8Bit();
    std::fprintf(stderr,
                 "larkspan: unknown %s '%s' (known: capture, runs, profile, --help, --version)\n",
                 unknown.startsWith('-') ? "option" : "command", unknown.constData());
    return kExitUsage;
}

}  // namespace larkspan
