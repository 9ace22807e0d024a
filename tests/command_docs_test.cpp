#include "qt_printers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString helpOf(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(LARKSPAN_EXECUTABLE), arguments);
    process.waitForFinished(60'000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString sourceText(const QString& path) {
    QFile file(QStringLiteral(LARKSPAN_SOURCE_DIR "/") + path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The part of the manual page under a heading line (".SH NAME", ".SS name"), up to the next.
QString manualSection(const QString& heading) {
    const QString page = sourceText(QStringLiteral("dist/larkspan.1.in"));
    const qsizetype start = page.indexOf(u'\n' + heading + u'\n');
    if (start < 0) {
        return {};
    }
    static const QRegularExpression nextHeading(QStringLiteral("\n\\.S[HS] "));
    const qsizetype end = page.indexOf(nextHeading, start + 1);
    return page.mid(start, end < 0 ? -1 : end - start);
}

// The list an assignment `name="..."` of the completion script holds.
QString completionList(const QString& name) {
    const QRegularExpression assignment(name + QStringLiteral("=\"([^\"]*)\""));
    return assignment.match(sourceText(QStringLiteral("dist/larkspan.bash-completion")))
        .captured(1);
}

// The long options a text names, in plain text or as the manual page writes them (\-\-name).
QStringList longOptions(QString text, bool withHelp) {
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
    QStringList options;
    for (const QRegularExpressionMatch& match : option.globalMatch(text)) {
        options.append(match.captured());
    }
    if (!withHelp) {
        options.removeAll(QStringLiteral("--help"));
        options.removeAll(QStringLiteral("--help-all"));
    }
    options.sort();
    options.removeDuplicates();
    return options;
}

// The manual page gives the help options once for all commands; the completion offers them
// with every command.
TEST(ManualPage, NamesTheOptionsOfEveryHelpAsDoesTheCompletion) {
    struct Case {
        QStringList arguments;
        QString manualHeading;
        QString completionName;
    };
    const Case cases[] = {
        {{"--help"}, ".SH SYNOPSIS", ""},
        {{"capture", "--help"}, ".SS capture", "capture_options"},
        {{"runs", "--help"}, ".SS runs", "runs_options"},
        {{"profile", "--help"}, ".SS profile", "profile_options"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const QString help = helpOf(c.arguments);
        ASSERT_FALSE(help.isEmpty());
        const QString section = manualSection(c.manualHeading);
        ASSERT_FALSE(section.isEmpty());
        EXPECT_EQ(longOptions(section, false), longOptions(help, false));
        if (!c.completionName.isEmpty()) {
            EXPECT_EQ(longOptions(completionList(c.completionName), true),
                      longOptions(help, true));
        }
    }
}

// What the completion offers for the words typed so far (the last one being completed), in a
// folder that holds one file and one folder.
QStringList completionsFor(const QStringList& words) {
    QTemporaryDir folder;
    QFile file(folder.filePath("leads.csv"));
    file.open(QIODevice::WriteOnly);
    QDir(folder.path()).mkdir("pages");
    const QStringList script{
        "-c",
        "source \"$0\"; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _larkspan; "
        "printf '%s\\n' \"${COMPREPLY[@]}\"",
        QStringLiteral(LARKSPAN_SOURCE_DIR "/dist/larkspan.bash-completion")};
    QProcess bash;
    bash.setWorkingDirectory(folder.path());
    bash.start(QStringLiteral("bash"), script + words);
    bash.waitForFinished(60'000);
    QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n');
    offered.removeAll(QString());
    offered.sort();
    return offered;
}

TEST(BashCompletion, OffersWhatEachPlaceTakes) {
    struct Case {
        QStringList words;
        QStringList offered;
    };
    const Case cases[] = {
        {{"larkspan", "r"}, {"runs"}},
        {{"larkspan", ""}, {"capture", "leads.csv", "pages", "profile", "runs"}},
        {{"larkspan", "--"}, {"--help", "--version"}},
        {{"larkspan", "capture", "--ma"}, {"--map-base", "--max-pages"}},
        {{"larkspan", "capture", ""}, {"leads.csv", "pages"}},
        {{"larkspan", "capture", "page1.html", "--format", ""}, {"csv", "jsonl", "xlsx"}},
        {{"larkspan", "capture", "page1.html", "-o", "l"}, {"leads.csv"}},
        {{"larkspan", "capture", "page1.html", "--flattened-dir", ""}, {"pages"}},
        {{"larkspan", "capture", "page1.html", "--max-pages", ""}, {}},
        {{"larkspan", "capture", "--sources", "l"}, {"leads.csv"}},
        {{"larkspan", "capture", "--sources", "list.txt", "--shard", ""}, {}},
        {{"larkspan", "runs", ""}, {"delete", "export", "prune"}},
        {{"larkspan", "runs", "export", "3", ""}, {}},
        {{"larkspan", "runs", "prune", "--k"}, {"--keep"}},
        {{"larkspan", "capture", "page1.html", "--source", "s"}, {"structured"}},
        {{"larkspan", "profile", ""}, {"check", "detect", "list"}},
        {{"larkspan", "profile", "check", "l"}, {"leads.csv"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words.join(u' ').toStdString());
        EXPECT_EQ(completionsFor(c.words), c.offered);
    }
}

}  // namespace
