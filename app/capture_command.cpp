#include "app/capture_command.h"

#include "app/listing_text_file.h"
#include "capture/listing_text_parser.h"
#include "capture/results_file.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>

namespace larkspan {
namespace {

void printError(const QString& message) {
    std::fprintf(stderr, "larkspan: %s\n", qPrintable(message));
}

bool writeToStandardOutput(const QStringList& lines) {
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray bytes = encodeResultsText(lines);
    return out.write(bytes) == bytes.size() && out.flush();
}

}  // namespace

int runCaptureCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Captures directory listings into comma-separated result lines."));
    parser.addHelpOption();
    const QCommandLineOption fromText(
        QStringLiteral("from-text"),
        QStringLiteral("Parse a flattened listing text (UTF-8, or UTF-16 with a byte-order mark)."),
        QStringLiteral("FILE"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the result lines to FILE."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption directoryBase(
        QStringLiteral("directory-base"),
        QStringLiteral("Address the listing page links start with (default %1).")
            .arg(ServiceAddresses::kDefaultDirectoryBase),
        QStringLiteral("URL"));
    const QCommandLineOption mapBase(
        QStringLiteral("map-base"),
        QStringLiteral("Address the map links start with (default %1).")
            .arg(ServiceAddresses::kDefaultMapBase),
        QStringLiteral("URL"));
    parser.addOptions({fromText, output, directoryBase, mapBase});

    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (!parser.isSet(fromText)) {
        printError(QStringLiteral("capture needs --from-text FILE"));
        return 2;
    }

    ServiceAddresses addresses;
    if (parser.isSet(directoryBase)) {
        addresses.directoryBase = parser.value(directoryBase);
    }
    if (parser.isSet(mapBase)) {
        addresses.mapBase = parser.value(mapBase);
    }

    try {
        const QString text = readListingTextFile(parser.value(fromText));
        ListingTextParser listings(addresses);
        const QStringList lines = listings.resultLines(text);
        if (parser.isSet(output)) {
            writeResultsFile(parser.value(output), lines);
        } else if (!writeToStandardOutput(lines)) {
            printError(QStringLiteral("cannot write to standard output"));
            return 1;
        }
        std::fprintf(stderr, "A total of %lld addresses have been scraped!\n",
                     static_cast<long long>(lines.size()));
    } catch (const std::exception& error) {
        printError(QString::fromStdString(error.what()));
        return 1;
    }
    return 0;
}

}  // namespace larkspan
