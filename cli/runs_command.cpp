#include "cli/runs_command.h"

#include "cli/command_line.h"
#include "cli/output_lock.h"
#include "cli/results_format_choice.h"
#include "journal/run_journal.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <stdexcept>

namespace larkspan {
namespace {

constexpr int kDefaultCount = 20;

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption count{
        QStringLiteral("count"),
        QStringLiteral("List the N latest runs (default %1).").arg(kDefaultCount),
        QStringLiteral("N")};
    QCommandLineOption output{
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("export: write the lines to FILE (default: standard output)."),
        QStringLiteral("FILE")};
    QCommandLineOption format{
        QStringLiteral("format"),
        QStringLiteral("export: csv, jsonl or xlsx (default: by the extension of -o, else csv)."),
        QStringLiteral("FORMAT")};
    QCommandLineOption formulaGuard{
        QStringLiteral("csv-formula-guard"),
        QStringLiteral("export: put an apostrophe before a CSV field a spreadsheet would take "
                       "for a formula.")};

    CommandLine() {
        parser.setApplicationDescription(
            QStringLiteral("Lists the recent capture runs, or writes the lines of run ID again."));
        parser.addHelpOption();
        parser.addPositionalArgument(QStringLiteral("export ID"),
                                     QStringLiteral("Write the lines of run ID."),
                                     QStringLiteral("[export ID]"));
        parser.addOptions({count, output, format, formulaGuard});
    }
};

void print(FILE* stream, const QString& text) {
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}

int listRuns(const CommandLine& commandLine) {
    const int count = commandLine.parser.isSet(commandLine.count)
                          ? wholeNumber(commandLine.parser, commandLine.count, 1)
                          : kDefaultCount;
    RunJournal journal;
    const QList<JournalRun> runs = journal.recentRuns(count);
    if (runs.isEmpty()) {
        print(stdout, QStringLiteral("No capture runs yet.\n"));
        return 0;
    }
    print(stdout, QStringLiteral("%1  %2  %3  %4  %5  %6  %7\n")
                      .arg(QStringLiteral("ID"), 6)
                      .arg(QStringLiteral("Started"), -19)
                      .arg(QStringLiteral("Kind"), -7)
                      .arg(QStringLiteral("Pages"), 6)
                      .arg(QStringLiteral("Lines"), 7)
                      .arg(QStringLiteral("Source"), QStringLiteral("End")));
    for (const JournalRun& run : runs) {
        print(stdout, QStringLiteral("%1  %2  %3  %4  %5  %6  %7\n")
                          .arg(run.id, 6)
                          .arg(run.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), -19)
                          .arg(kindName(run.kind), -7)
                          .arg(run.pages, 6)
                          .arg(run.lines, 7)
                          .arg(run.source, endingText(run, journal.isUnderWay(run.id))));
    }
    return 0;
}

int exportRun(const CommandLine& commandLine, const QString& idText) {
    const QCommandLineParser& parser = commandLine.parser;
    bool ok = false;
    const qint64 id = idText.toLongLong(&ok);
    if (!ok) {
        throw UsageError(
            QStringLiteral("export needs a run ID, not '%1'").arg(idText).toStdString());
    }
    const QString path = parser.value(commandLine.output);
    const ResultsFormat format = chosenResultsFormat(
        parser.isSet(commandLine.format) ? std::optional(parser.value(commandLine.format))
                                         : std::nullopt,
        path, parser.isSet(commandLine.formulaGuard));

    RunJournal journal;
    const std::optional<JournalRun> run = journal.run(id);
    if (!run) {
        throw std::runtime_error(QStringLiteral("there is no run %1").arg(id).toStdString());
    }
    QStringList lines;
    for (const JournalPage& page : journal.pages(id)) {
        lines += page.lines;
    }
    // Replacing a file a capture run is appending to would cut that run's later pages off.
    const OutputLock outputLock(path);
    writeResults(path.isEmpty() ? OutputFile::standardOutput() : OutputFile(path), format, lines,
                 parser.isSet(commandLine.formulaGuard));
    print(stderr, QStringLiteral("Run %1: %2 lines written to %3\n")
                      .arg(id)
                      .arg(lines.size())
                      .arg(path.isEmpty() ? QStringLiteral("standard output") : path));
    return 0;
}

int run(const QStringList& arguments) {
    CommandLine commandLine;
    return runReportingErrors([&] {
        if (parseOrShowHelp(commandLine.parser, arguments, QStringLiteral("runs"))) {
            return 0;
        }
        const QStringList positional = commandLine.parser.positionalArguments();
        if (positional.isEmpty()) {
            return listRuns(commandLine);
        }
        if (positional.size() == 2 && positional.front() == QLatin1String("export")) {
            return exportRun(commandLine, positional.back());
        }
        throw UsageError("runs takes no arguments, or export ID");
    });
}

}  // namespace

int runRunsCommand(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeAt(1);  // "runs"
    return run(arguments);
}

}  // namespace larkspan
