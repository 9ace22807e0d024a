#include "cli/profile_detect_command.h"

#include "browser/chromium_sandbox.h"
#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "capture/listing_detection.h"
#include "cli/capture_source.h"
#include "cli/command_application.h"
#include "cli/command_line.h"
#include "cli/headless_page.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSaveFile>

#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace larkspan {
namespace {

constexpr int kExitNoListings = 1;
constexpr std::chrono::seconds kPageTimeout{120};

void printLine(const QString& line) {
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

void writeProfile(const QByteArray& profile, const QString& path) {
    if (path.isEmpty()) {
        std::fwrite(profile.constData(), 1, std::size_t(profile.size()), stdout);
        std::fflush(stdout);
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(profile) != profile.size() ||
        !file.commit()) {
        throw std::runtime_error(
            (QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString())
                .toStdString());
    }
}

ListingDetection detectOnPage(const QUrl& address) {
    const std::unique_ptr<TWebbrowser> browser = headlessPage(kPageTimeout);
    loadOrFail(*browser, address);
    const std::shared_ptr<dom::Document> document = browser->Document();
    if (!document || !document->isHtmlDocument()) {
        return {};
    }
    return detectListings(*document, QUrl(browser->LocationURL()));
}

int detect(const QCommandLineParser& parser, const QCommandLineOption& output) {
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        throw UsageError("profile detect takes one ADDRESS");
    }
    const QString outputPath =
        parser.isSet(output) ? QFileInfo(parser.value(output)).absoluteFilePath() : QString();
    const QUrl address = captureSource(positional.front());
    // Said only when the engine is about to start, not before a usage error.
    disableSandboxWhenRoot();
    const ListingDetection detection = detectOnPage(address);
    if (detection.isEmpty()) {
        printError(QStringLiteral("no group of repeated listings found on ") +
                   address.toDisplayString());
        return kExitNoListings;
    }
    const DetectedListings& best = detection.constFirst();
    writeProfile(best.profile.toJson(QJsonDocument::Indented), outputPath);
    printLine(best.summary());
    printLine(QStringLiteral("listing: ") + best.listingSelector);
    for (qsizetype at = 1; at < detection.size(); ++at) {
        printLine(QStringLiteral("alternative: ") + detection[at].listingSelector +
                  QStringLiteral(": ") + detection[at].summary());
    }
    return 0;
}

}  // namespace

int runProfileDetectCommand(int argc, char* argv[]) {
    return runInEngineApplication(argc, argv, [](QStringList arguments) {
        arguments.removeAt(1);  // "detect"
        QCommandLineParser parser;
        parser.setApplicationDescription(QStringLiteral(
            "Finds the repeated listings of the page at ADDRESS and writes a capture profile for "
            "them."));
        parser.addHelpOption();
        parser.addPositionalArgument(QStringLiteral("ADDRESS"),
                                     QStringLiteral("The page: a web address or a file."));
        const QCommandLineOption output(
            {QStringLiteral("o"), QStringLiteral("output")},
            QStringLiteral("Write the profile to FILE, not standard output."),
            QStringLiteral("FILE"));
        parser.addOption(output);
        return runReportingErrors([&] {
            if (parseOrShowHelp(parser, arguments, QStringLiteral("profile detect"))) {
                return 0;
            }
            return detect(parser, output);
        });
    });
}

}  // namespace larkspan
