#include "cli/capture_command.h"

#include "browser/chromium_sandbox.h"
#include "capture/profile_folder.h"
#include "capture/scraped_message.h"
#include "cli/capture_source.h"
#include "cli/command_application.h"
#include "cli/command_line.h"
#include "cli/headless_capture.h"
#include "cli/interrupt_signal.h"
#include "cli/listing_text_file.h"
#include "cli/output_file_mark.h"
#include "cli/output_lock.h"
#include "cli/profile_selectors.h"
#include "cli/results_format_choice.h"
#include "cli/results_output.h"
#include "cli/search_list.h"
#include "journal/journal_error.h"
#include "journal/run_journal.h"
#include "journal/run_recorder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace larkspan {
namespace {

constexpr int kExitInterrupted = 130;
// The engine's timers count milliseconds in an int: a little over 24 days.
constexpr int kLongestPageTimeout = 2'000'000;
constexpr int kMostParallelPages = 8;

// Only page capture needs the browser engine, and with it a GUI application.
bool needsBrowser(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument.starts_with("--from-text") || argument == "-h" || argument == "--help" ||
            argument == "-?" || argument == "--help-all") {
            return false;
        }
    }
    return true;
}

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption fromText{
        QStringLiteral("from-text"),
        QStringLiteral("Parse a flattened listing text (UTF-8, or UTF-16 with a "
                       "byte-order mark) instead of loading pages."),
        QStringLiteral("FILE")};
    QCommandLineOption output{
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write the result lines to FILE (default: standard output)."),
        QStringLiteral("FILE")};
    QCommandLineOption maxPages{QStringLiteral("max-pages"),
                                QStringLiteral("Capture at most N pages."), QStringLiteral("N")};
    QCommandLineOption format{
        QStringLiteral("format"),
        QStringLiteral("Write the results as csv, jsonl (JSON Lines) or xlsx (an Excel "
                       "workbook, only with -o). Default: by the extension of -o, else csv."),
        QStringLiteral("FORMAT")};
    QCommandLineOption formulaGuard{
        QStringLiteral("csv-formula-guard"),
        QStringLiteral("Put an apostrophe before a CSV field that a spreadsheet would take for a "
                       "formula (one starting with =, +, -, @, a tab or a carriage return).")};
    QCommandLineOption dedupe{
        QStringLiteral("dedupe"),
        QStringLiteral("Drop a listing whose listing page, or else name and phone, was already "
                       "captured in the run.")};
    QCommandLineOption delay{
        QStringLiteral("delay"),
        QStringLiteral("Pause MS milliseconds before each page turn, or a random time from MIN "
                       "to MAX milliseconds."),
        QStringLiteral("MS|MIN-MAX")};
    QCommandLineOption resume{
        QStringLiteral("resume"),
        QStringLiteral("Go on with the last run of this command that did not reach its own end "
                       "(it was killed, crashed, interrupted or cut short by a failure), or with "
                       "run ID given instead of SOURCE (see larkspan runs), from its first page "
                       "not yet captured, with its own SOURCE and options; its output gets the "
                       "rest. With -o FILE, FILE gets every line instead.")};
    QCommandLineOption pageTimeout{
        QStringLiteral("page-timeout"),
        QStringLiteral("End the run when a page has not finished loading after SECONDS "
                       "seconds (default 120)."),
        QStringLiteral("SECONDS")};
    QCommandLineOption flattenedDir{
        QStringLiteral("flattened-dir"),
        QStringLiteral("Keep each page's flattened text as DIR/pageN.txt (UTF-8)."),
        QStringLiteral("DIR")};
    QCommandLineOption directoryBase{
        QStringLiteral("directory-base"),
        QStringLiteral("Address the listing page links start with (default %1).")
            .arg(ServiceAddresses::kDefaultDirectoryBase),
        QStringLiteral("URL")};
    QCommandLineOption source{
        QStringLiteral("source"),
        QStringLiteral("Take the listings from the directory's listing markup (directory, the "
                       "default), from the schema.org records the pages publish (structured), or "
                       "(auto) from the first of these that fits the first page: a saved profile "
                       "whose addresses match it, the directory markup, structured data."),
        QStringLiteral("KIND")};
    QCommandLineOption profile{
        QStringLiteral("profile"),
        QStringLiteral("Take the listings where a capture profile says: a saved profile's NAME "
                       "(see larkspan profile list) or a profile FILE."),
        QStringLiteral("NAME|FILE")};
    QCommandLineOption sources{
        QStringLiteral("sources"),
        QStringLiteral("Capture the searches FILE lists, one first result page (an address or a "
                       "file) per line, one after another into the one output; blank lines and "
                       "lines starting with # are left out; - reads standard input."),
        QStringLiteral("FILE")};
    QCommandLineOption shard{
        QStringLiteral("shard"),
        QStringLiteral("Take only every N-th search of the list, starting at the K-th, so that N "
                       "machines share a list."),
        QStringLiteral("K/N")};
    QCommandLineOption parallel{
        QStringLiteral("parallel"),
        QStringLiteral("Load the pages of up to N searches of the list at once (1 to %1, default "
                       "1), each search's pages in order; the output is the same as one search "
                       "after another. --delay then keeps the pages of each site apart.")
            .arg(kMostParallelPages),
        QStringLiteral("N")};
    QCommandLineOption mapBase{QStringLiteral("map-base"),
                               QStringLiteral("Address the map links start with (default %1).")
                                   .arg(ServiceAddresses::kDefaultMapBase),
                               QStringLiteral("URL")};

    CommandLine() {
        parser.setApplicationDescription(QStringLiteral(
            "Captures directory result pages into comma-separated result lines, starting at "
            "SOURCE (a file or an address) and following the pages' NEXT links."));
        parser.addHelpOption();
        parser.addPositionalArgument(
            QStringLiteral("SOURCE"),
            QStringLiteral("The first result page: a file or an address (with --resume: a run "
                           "ID, or nothing). Several give a batch of searches, captured one "
                           "after another into the one output."),
            QStringLiteral("SOURCE..."));
        parser.addOptions({fromText, output, format, formulaGuard, dedupe, maxPages, delay,
                           pageTimeout, flattenedDir, source, profile, sources, shard,
                           parallel, directoryBase, mapBase, resume});
    }

    ServiceAddresses addresses() const {
        ServiceAddresses result;
        if (parser.isSet(directoryBase)) {
            result.directoryBase = parser.value(directoryBase);
        }
        if (parser.isSet(mapBase)) {
            result.mapBase = parser.value(mapBase);
        }
        return result;
    }
};

// Reads, parses and writes a block at a time, so a text of any size takes little memory.
int captureFromText(const CommandLine& commandLine) {
    InterruptSignal interruptSignal;
    // The event loop runs only while the output waits for a slow reader: end that wait too.
    QObject::connect(&interruptSignal, &InterruptSignal::interrupted, &interruptSignal,
                     [] { QCoreApplication::exit(kExitInterrupted); });
    ListingTextFile input(commandLine.parser.value(commandLine.fromText));
    const OutputLock outputLock(commandLine.parser.value(commandLine.output));
    ResultsOutput output(commandLine.parser.value(commandLine.output));
    ListingTextParser listings(commandLine.addresses());
    listings.setStopRequest([&interruptSignal] { return interruptSignal.isRaised(); });
    qint64 count = 0;
    try {
        count =
            listings.parse(input.reader(), [&output](const QString& line) { output.write(line); });
        output.commit();
    } catch (const std::exception&) {
        output.abandon();
        if (!interruptSignal.isRaised()) {
            throw;
        }
        printError(QStringLiteral("interrupted"));
        return kExitInterrupted;
    }
    std::fprintf(stderr, "%s\n", qPrintable(scrapedMessage(count)));
    return 0;
}

ResultsFormat outputFormat(const CommandLine& commandLine) {
    const QCommandLineParser& parser = commandLine.parser;
    return chosenResultsFormat(
        parser.isSet(commandLine.format) ? std::optional(parser.value(commandLine.format))
                                         : std::nullopt,
        parser.value(commandLine.output), parser.isSet(commandLine.formulaGuard));
}

// A profile is only read here; its selectors need the engine (see checkProfileSelectors).
ListingSourceChoice listingSourceChoice(const CommandLine& commandLine) {
    const QCommandLineParser& parser = commandLine.parser;
    if (parser.isSet(commandLine.profile)) {
        if (parser.isSet(commandLine.source)) {
            throw UsageError("--profile is a source of its own; give --source or --profile");
        }
        return {ListingSourceChoice::Kind::Profile,
                ProfileFolder().find(parser.value(commandLine.profile))};
    }
    if (!parser.isSet(commandLine.source)) {
        return {};
    }
    const std::optional<ListingSourceChoice::Kind> kind =
        ListingSourceChoice::kindNamed(parser.value(commandLine.source));
    if (!kind) {
        throw UsageError((QStringLiteral("--source takes directory, structured or auto, not '") +
                          parser.value(commandLine.source) + u'\'')
                             .toStdString());
    }
    return {*kind};
}

HeadlessCaptureOptions pageCaptureOptions(const CommandLine& commandLine) {
    const QCommandLineParser& parser = commandLine.parser;
    QStringList searches = parser.positionalArguments();
    if (parser.isSet(commandLine.sources)) {
        if (!searches.isEmpty()) {
            throw UsageError("--sources FILE lists the searches; give no SOURCE besides");
        }
        searches = readSearchList(parser.value(commandLine.sources));
        if (searches.isEmpty()) {
            throw UsageError(
                (parser.value(commandLine.sources) + QStringLiteral(" lists no search"))
                    .toStdString());
        }
    }
    if (searches.isEmpty()) {
        throw UsageError("capture needs a SOURCE, --sources FILE, or --from-text FILE");
    }
    // Also when a shard leaves one search of the list.
    const bool batch = searches.size() > 1 || parser.isSet(commandLine.sources);
    if (parser.isSet(commandLine.shard)) {
        const std::optional<Shard> part = Shard::parse(parser.value(commandLine.shard));
        if (!part) {
            throw UsageError("--shard needs K/N, whole numbers with 1 <= K <= N");
        }
        searches = part->of(searches);
        if (searches.isEmpty()) {
            throw UsageError("--shard leaves no search of the list");
        }
    }
    HeadlessCaptureOptions options;
    // Absolute, so a resumed run writes to the same file from any folder.
    if (parser.isSet(commandLine.output)) {
        options.outputPath = QFileInfo(parser.value(commandLine.output)).absoluteFilePath();
    }
    options.format = outputFormat(commandLine);
    options.guardFormulas = parser.isSet(commandLine.formulaGuard);
    options.dropRepeatedListings = parser.isSet(commandLine.dedupe);
    options.addresses = commandLine.addresses();
    if (parser.isSet(commandLine.maxPages)) {
        options.maxPages = wholeNumber(commandLine.parser, commandLine.maxPages, 1);
    }
    if (parser.isSet(commandLine.delay)) {
        const std::optional<PageTurnDelay> delay =
            PageTurnDelay::parse(parser.value(commandLine.delay));
        if (!delay) {
            throw UsageError(
                "--delay needs MS or MIN-MAX, whole milliseconds with MIN not above MAX");
        }
        options.delay = *delay;
    }
    if (parser.isSet(commandLine.parallel)) {
        options.parallelPages =
            wholeNumber(commandLine.parser, commandLine.parallel, 1, kMostParallelPages);
    }
    if (parser.isSet(commandLine.pageTimeout)) {
        options.pageTimeout = std::chrono::seconds(
            wholeNumber(commandLine.parser, commandLine.pageTimeout, 1, kLongestPageTimeout));
    }
    if (parser.isSet(commandLine.flattenedDir)) {
        options.flattenedDir = QFileInfo(parser.value(commandLine.flattenedDir)).absoluteFilePath();
        if (!QDir().mkpath(options.flattenedDir)) {
            throw std::runtime_error(
                QStringLiteral("cannot create %1").arg(options.flattenedDir).toStdString());
        }
    }
    options.listingSource = listingSourceChoice(commandLine);
    // Last: a missing source is no mistake in the command line.
    QList<QUrl> addresses;
    for (const QString& search : searches) {
        addresses.append(captureSource(search));
    }
    options.source = addresses.front();
    if (batch) {
        options.searches = addresses;
    }
    return options;
}

// A run without a journal captures all the same; it only cannot be resumed.
std::unique_ptr<RunJournal> openJournal() {
    try {
        return std::make_unique<RunJournal>();
    } catch (const JournalError& error) {
        printError(QString::fromUtf8(error.what()) + kCannotBeResumed);
        return nullptr;
    }
}

int runHeadless(HeadlessCapture& capture, const std::function<int()>& run) {
    InterruptSignal interruptSignal;
    QObject::connect(&interruptSignal, &InterruptSignal::interrupted, &capture,
                     &HeadlessCapture::interrupt);
    capture.setInterruptCheck([&interruptSignal] { return interruptSignal.isRaised(); });
    return run();
}

int capturePages(const CommandLine& commandLine) {
    HeadlessCaptureOptions options = pageCaptureOptions(commandLine);
    const OutputLock outputLock(options.outputPath);
    // Said only when the engine is about to start, not before a usage error.
    disableSandboxWhenRoot();
    if (options.listingSource.profile) {
        checkProfileSelectors(*options.listingSource.profile);
    }
    const std::unique_ptr<RunJournal> journal = openJournal();
    HeadlessCapture capture(std::move(options), journal.get());
    return runHeadless(capture, [&capture] { return capture.run(); });
}

// The run ID given to --resume, if any.
std::optional<qint64> runToResume(const CommandLine& commandLine) {
    const QCommandLineParser& parser = commandLine.parser;
    const QStringList positional = parser.positionalArguments();
    for (const QString& option : parser.optionNames()) {
        if (!commandLine.resume.names().contains(option) &&
            !commandLine.output.names().contains(option)) {
            throw UsageError(
                "--resume goes on with the run's own SOURCE and options; give none "
                "but a run ID and -o FILE");
        }
    }
    if (positional.isEmpty()) {
        return std::nullopt;
    }
    bool isNumber = false;
    const qint64 id = positional.front().toLongLong(&isNumber);
    if (positional.size() > 1 || !isNumber) {
        throw UsageError((QStringLiteral("--resume takes a run ID (see larkspan runs), not '") +
                          positional.join(u' ') +
                          QStringLiteral("'; the run goes on with its own SOURCE"))
                             .toStdString());
    }
    return id;
}

JournalRun chosenRun(RunJournal& journal, std::optional<qint64> id) {
    if (!id) {
        const std::optional<JournalRun> last = journal.lastResumableRun(JournalRun::Kind::Command);
        if (!last) {
            throw std::runtime_error(
                "no run to resume: every run of the command ended by itself or is under way");
        }
        return *last;
    }
    const std::optional<JournalRun> run = journal.run(*id);
    if (!run) {
        throw std::runtime_error(QStringLiteral("there is no run %1").arg(*id).toStdString());
    }
    if (run->kind != JournalRun::Kind::Command) {
        throw std::runtime_error(
            QStringLiteral("run %1 is the window's: the window offers it at its start")
                .arg(*id)
                .toStdString());
    }
    const bool underWay = journal.isUnderWay(*id);
    if (!run->canResume() || underWay) {
        throw std::runtime_error(QStringLiteral("run %1 cannot be resumed: %2")
                                     .arg(QString::number(*id), endingText(*run, underWay))
                                     .toStdString());
    }
    return *run;
}

// The run's own output; -o puts every line into another file, in the format its extension names.
HeadlessCaptureOptions resumedOptions(const CommandLine& commandLine, const JournalRun& run) {
    HeadlessCaptureOptions options =
        HeadlessCaptureOptions::fromJson(QUrl(run.source), run.settings);
    if (commandLine.parser.isSet(commandLine.output)) {
        options.outputPath =
            QFileInfo(commandLine.parser.value(commandLine.output)).absoluteFilePath();
        options.format = resultsFormatNamed(QFileInfo(options.outputPath).suffix().toLower())
                             .value_or(options.format);
    }
    return options;
}

// A resume writes the run's first part into its file again: only while the file is the one the
// run left, never over what another run or program wrote there since.
void checkOutputLeftAsIs(const JournalRun& run, const QString& outputPath) {
    const QString ownPath = run.settings.value(QStringLiteral("output")).toString();
    if (outputPath.isEmpty() || outputPath != ownPath || !isReplaceable(outputPath)) {
        return;
    }
    const std::optional<OutputFileMark> left = OutputFileMark::fromText(run.outputMark);
    if (left && !left->stillDescribes(OutputFileMark::of(outputPath))) {
        throw std::runtime_error(
            (QStringLiteral("cannot resume run ") + QString::number(run.id) + QStringLiteral(": ") +
             outputPath +
             QStringLiteral(" is no longer the file the run left (another run or program wrote "
                            "it since); to resume into another file: larkspan capture --resume ") +
             QString::number(run.id) + QStringLiteral(" -o FILE"))
                .toStdString());
    }
}

int resumeCapture(const CommandLine& commandLine) {
    const std::optional<qint64> id = runToResume(commandLine);
    RunJournal journal;
    const JournalRun run = chosenRun(journal, id);
    HeadlessCaptureOptions options = resumedOptions(commandLine, run);
    const OutputLock outputLock(options.outputPath);
    checkOutputLeftAsIs(run, options.outputPath);
    disableSandboxWhenRoot();
    HeadlessCapture capture(std::move(options), &journal);
    return runHeadless(capture, [&capture, &run] { return capture.resume(run); });
}

// The formats and the journal belong to page capture; a listing text gives CSV.
void checkFromTextOptions(const CommandLine& commandLine) {
    const QCommandLineParser& parser = commandLine.parser;
    for (const QCommandLineOption* option :
         {&commandLine.format, &commandLine.formulaGuard, &commandLine.dedupe, &commandLine.resume,
          &commandLine.source, &commandLine.profile, &commandLine.sources, &commandLine.shard,
          &commandLine.parallel}) {
        if (parser.isSet(*option)) {
            throw UsageError(QStringLiteral("--from-text does not take --%1")
                                 .arg(option->names().constFirst())
                                 .toStdString());
        }
    }
    if (resultsFormatOfPath(parser.value(commandLine.output)) != ResultsFormat::Csv) {
        throw UsageError("--from-text writes CSV only");
    }
}

int run(const QStringList& arguments) {
    // A file size limit must fail the write that passes it, with its reason, instead of ending
    // the process and losing the reason.
    std::signal(SIGXFSZ, SIG_IGN);
    CommandLine commandLine;
    return runReportingErrors([&] {
        if (parseOrShowHelp(commandLine.parser, arguments, QStringLiteral("capture"))) {
            return 0;
        }
        if (commandLine.parser.isSet(commandLine.fromText)) {
            checkFromTextOptions(commandLine);
            return captureFromText(commandLine);
        }
        return commandLine.parser.isSet(commandLine.resume) ? resumeCapture(commandLine)
                                                            : capturePages(commandLine);
    });
}

}  // namespace

int runCaptureCommand(int argc, char* argv[]) {
    return needsBrowser(argc, argv) ? runInEngineApplication(argc, argv, run)
                                    : runInCoreApplication(argc, argv, run);
}

}  // namespace larkspan
