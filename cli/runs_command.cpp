#include "cli/runs_command.h"

#include "capture/results_workbook.h"
#include "cli/command_line.h"
#include "cli/output_lock.h"
#include "cli/results_format_choice.h"
#include "cli/runs_table.h"
#include "journal/run_journal.h"
#include "journal/run_pruning.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace larkspan {
namespace {

constexpr int kDefaultCount = 20;

const QString kList = QString();
const QString kExport = QStringLiteral("export");
const QString kDelete = QStringLiteral("delete");
const QString kPrune = QStringLiteral("prune");

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
    QCommandLineOption keep{QStringLiteral("keep"),
                            QStringLiteral("prune: keep the N latest runs."), QStringLiteral("N")};
    QCommandLineOption olderThan{
        QStringLiteral("older-than"),
        QStringLiteral("prune: delete only runs started more than DAYS days ago."),
        QStringLiteral("DAYS")};

    // The options each way of the command takes.
    struct Use {
        const QCommandLineOption* option;
        QString subcommand;
    };
    const std::array<Use, 6> uses = {{{&count, kList},
                                      {&output, kExport},
                                      {&format, kExport},
                                      {&formulaGuard, kExport},
                                      {&keep, kPrune},
                                      {&olderThan, kPrune}}};

    CommandLine() {
        parser.setApplicationDescription(QStringLiteral(
            "Lists the recent capture runs of the run journal. 'export ID' writes the lines of "
            "run ID again; 'delete ID...' deletes runs; 'prune' deletes the runs that ended and "
            "are outside every limit given (a run that did not end goes only by its ID). "
            "Deleted runs give their space back to the disk."));
        parser.addHelpOption();
        parser.addPositionalArgument(
            QStringLiteral("command"),
            QStringLiteral("Nothing to list the runs, or one of: export ID, delete ID..., prune."),
            QStringLiteral("[export ID | delete ID... | prune]"));
        parser.addOptions({count, output, format, formulaGuard, keep, olderThan});
    }

    // Throws UsageError for an option that the way of the command named does not take.
    void checkOptionsFor(const QString& subcommand) const {
        for (const Use& use : uses) {
            if (use.subcommand != subcommand && parser.isSet(*use.option)) {
                const QString name = QStringLiteral("--") + use.option->names().constLast();
                throw UsageError((use.subcommand.isEmpty()
                                      ? name + QStringLiteral(" is for listing runs only")
                                      : name + QStringLiteral(" is for runs ") + use.subcommand +
                                            QStringLiteral(" only"))
                                     .toStdString());
            }
        }
    }
};

void print(FILE* stream, const QString& text) {
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}

// The journal to read from; null when there is none yet. Reading never changes it.
std::unique_ptr<RunJournal> journalToRead() {
    const QString path = RunJournal::defaultPath();
    if (!QFileInfo::exists(path)) {
        return nullptr;
    }
    return std::make_unique<RunJournal>(path, RunJournal::Access::ReadOnly);
}

std::runtime_error noSuchRun(qint64 id) {
    return std::runtime_error(
        (QStringLiteral("there is no run ") + QString::number(id)).toStdString());
}

qint64 runId(const QString& text, const QString& subcommand) {
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok || id < 1) {
        throw UsageError((subcommand + QStringLiteral(" needs run IDs, not '") + text +
                          QStringLiteral("'"))
                             .toStdString());
    }
    return id;
}

int listRuns(const CommandLine& commandLine) {
    const int count = commandLine.parser.isSet(commandLine.count)
                          ? wholeNumber(commandLine.parser, commandLine.count, 1)
                          : kDefaultCount;
    const std::unique_ptr<RunJournal> journal = journalToRead();
    const QList<JournalRun> runs = journal ? journal->recentRuns(count) : QList<JournalRun>();
    if (runs.isEmpty()) {
        print(stdout, QStringLiteral("No capture runs yet.\n"));
        return 0;
    }
    print(stdout, RunsTable::text(runs, [&](qint64 id) { return journal->isUnderWay(id); }));
    return 0;
}

int exportRun(const CommandLine& commandLine, const QString& idText) {
    const QCommandLineParser& parser = commandLine.parser;
    const qint64 id = runId(idText, kExport);
    const QString path = parser.value(commandLine.output);
    const ResultsFormat format = chosenResultsFormat(
        parser.isSet(commandLine.format) ? std::optional(parser.value(commandLine.format))
                                         : std::nullopt,
        path, parser.isSet(commandLine.formulaGuard));

    const std::unique_ptr<RunJournal> journal = journalToRead();
    if (!journal || !journal->run(id)) {
        throw noSuchRun(id);
    }
    QStringList lines;
    for (const JournalPage& page : journal->pages(id)) {
        lines += page.lines;
    }
    // Replacing a file a capture run is appending to would cut that run's later pages off.
    const OutputLock outputLock(path);
    const qint64 cellsCut =
        writeResults(path.isEmpty() ? OutputFile::standardOutput() : OutputFile(path), format,
                     lines, parser.isSet(commandLine.formulaGuard));
    print(stderr, QStringLiteral("Run %1: %2 lines written to %3\n")
                      .arg(QString::number(id), QString::number(lines.size()),
                           path.isEmpty() ? QStringLiteral("standard output") : path));
    if (cellsCut > 0) {
        print(stderr, cellsCutText(cellsCut) + u'\n');
    }
    return 0;
}

int deleteRuns(const QStringList& idTexts) {
    QList<qint64> ids;
    for (const QString& text : idTexts) {
        const qint64 id = runId(text, kDelete);
        if (!ids.contains(id)) {
            ids.append(id);
        }
    }
    if (ids.isEmpty()) {
        throw UsageError("runs delete needs the IDs of the runs to delete");
    }
    if (!QFileInfo::exists(RunJournal::defaultPath())) {
        throw noSuchRun(ids.front());
    }
    RunJournal journal;
    qint64 lines = 0;
    QStringList named;
    for (const qint64 id : ids) {
        const std::optional<JournalRun> run = journal.run(id);
        if (!run) {
            throw noSuchRun(id);
        }
        lines += run->lines;
        named.append(QString::number(id));
    }
    const qint64 sizeBefore = journal.size();
    journal.deleteRuns(ids);
    print(stdout, QStringLiteral("Deleted %1 %2 (%3); the run journal takes %4 (was %5)\n")
                      .arg(ids.size() == 1 ? QStringLiteral("run") : QStringLiteral("runs"),
                           named.join(QStringLiteral(", ")),
                           lines == 1 ? QStringLiteral("1 line")
                                      : QString::number(lines) + QStringLiteral(" lines"),
                           sizeText(journal.size()), sizeText(sizeBefore)));
    return 0;
}

int pruneRuns(const CommandLine& commandLine) {
    const QCommandLineParser& parser = commandLine.parser;
    const std::optional<int> keep =
        parser.isSet(commandLine.keep)
            ? std::optional(wholeNumber(parser, commandLine.keep, 0))
            : std::nullopt;
    const std::optional<int> olderThan =
        parser.isSet(commandLine.olderThan)
            ? std::optional(wholeNumber(parser, commandLine.olderThan, 0))
            : std::nullopt;
    if (!keep && !olderThan) {
        throw UsageError("runs prune needs --keep N, --older-than DAYS or both");
    }
    if (!QFileInfo::exists(RunJournal::defaultPath())) {
        print(stdout, QStringLiteral("No capture runs yet.\n"));
        return 0;
    }
    RunJournal journal;
    const PruneOutcome outcome =
        RunPruning(journal).beyond(keep, olderThan, QDateTime::currentDateTime());
    QString report =
        outcome.runs == 0
            ? QStringLiteral("No runs to delete; the run journal takes ") +
                  sizeText(outcome.sizeAfter)
            : QStringLiteral("Deleted ") + runsAndLinesText(outcome.runs, outcome.lines) +
                  QStringLiteral("; the run journal takes ") + sizeText(outcome.sizeAfter) +
                  QStringLiteral(" (was ") + sizeText(outcome.sizeBefore) + u')';
    if (outcome.unfinishedKept > 0) {
        report += QStringLiteral("\nKept ") + QString::number(outcome.unfinishedKept) +
                  (outcome.unfinishedKept == 1 ? QStringLiteral(" run that did not end")
                                               : QStringLiteral(" runs that did not end")) +
                  QStringLiteral(": larkspan runs delete ID deletes one");
    }
    print(stdout, report + u'\n');
    return 0;
}

int run(const QStringList& arguments) {
    CommandLine commandLine;
    return runReportingErrors([&] {
        if (parseOrShowHelp(commandLine.parser, arguments, QStringLiteral("runs"))) {
            return 0;
        }
        const QStringList positional = commandLine.parser.positionalArguments();
        const QString subcommand = positional.value(0);
        if (positional.isEmpty()) {
            commandLine.checkOptionsFor(kList);
            return listRuns(commandLine);
        }
        if (subcommand == kExport && positional.size() == 2) {
            commandLine.checkOptionsFor(kExport);
            return exportRun(commandLine, positional.back());
        }
        if (subcommand == kDelete) {
            commandLine.checkOptionsFor(kDelete);
            return deleteRuns(positional.mid(1));
        }
        if (subcommand == kPrune && positional.size() == 1) {
            commandLine.checkOptionsFor(kPrune);
            return pruneRuns(commandLine);
        }
        throw UsageError(
            "runs takes no arguments, or one of: export ID, delete ID..., prune [--keep N] "
            "[--older-than DAYS]");
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
