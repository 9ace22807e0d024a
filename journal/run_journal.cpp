#include "journal/run_journal.h"

#include "capture/user_base_folder.h"
#include "journal/journal_error.h"
#include "journal/run_lock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <QUuid>
#include <QVariant>

#include <array>
#include <chrono>
#include <optional>
#include <utility>
#include <vector>

namespace larkspan {
namespace {

constexpr int kSchemaVersion = 2;
// How long a program waits for another one that is writing to the journal.
constexpr std::chrono::milliseconds kBusyTimeout(10'000);
// SQLite's result code for a database another connection holds.
constexpr char kSqliteBusy[] = "5";

// How the endings are stored; the order is that of JournalRun::Ending.
constexpr std::array<const char*, 9> kEndingNames = {
    "",       "last page",   "page limit",  "repeated page", "stopped",
    "failed", "interrupted", "not resumed", "unrecorded"};

QString endingName(JournalRun::Ending ending) {
    return QString::fromLatin1(kEndingNames[std::size_t(ending)]);
}

JournalRun::Ending endingNamed(const QString& name) {
    for (std::size_t i = 0; i < kEndingNames.size(); ++i) {
        if (name == QLatin1String(kEndingNames[i])) {
            return JournalRun::Ending(i);
        }
    }
    return JournalRun::Ending::None;
}

QString timeText(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime timeOf(const QVariant& text) {
    // Stored with its "Z", so it reads back as the time it was.
    return QDateTime::fromString(text.toString(), Qt::ISODateWithMs).toLocalTime();
}

QString linesText(const QStringList& lines) {
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(lines)).toJson(QJsonDocument::Compact));
}

// Empty when the text is not a list of texts.
std::optional<QStringList> linesOf(const QVariant& text) {
    const QJsonDocument document = QJsonDocument::fromJson(text.toString().toUtf8());
    if (!document.isArray()) {
        return std::nullopt;
    }
    QStringList lines;
    for (const QJsonValue& line : document.array()) {
        if (!line.isString()) {
            return std::nullopt;
        }
        lines.append(line.toString());
    }
    return lines;
}

// The auto_vacuum setting of a journal that keeps the pages of deleted runs in its file.
constexpr qint64 kNoAutoVacuum = 0;

const QString kRunColumns = QStringLiteral(
    "id, kind, started, source, settings, pages, lines, dropped, ending, end_text, output_mark");
// What a reader asks of a journal of an earlier version, which it may not change.
const QString kRunColumnsWithoutOutputMarks = QStringLiteral(
    "id, kind, started, source, settings, pages, lines, dropped, ending, end_text, NULL");

}  // namespace

QString RunJournal::defaultPath() {
    return userBaseFolder(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/larkspan/journal.sqlite");
}

RunJournal::RunJournal(const QString& path, Access access)
    : m_path(path),
      m_connection(QUuid::createUuid().toString(QUuid::WithoutBraces)),
      m_runColumns(kRunColumns) {
    m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (access == Access::ReadOnly) {
        openReadOnly();
    } else {
        openForWriting();
    }
}

RunJournal::~RunJournal() {
    m_held.clear();
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

// Read-only, SQLite still shares the log's index with writers in a file beside the journal.
// Where none can be made and no writer left a log, the journal is read as it stands.
void RunJournal::openReadOnly() {
    const QFileInfo file(m_path);
    QUrl address = QUrl::fromLocalFile(file.absoluteFilePath());
    if (!QFileInfo(file.absolutePath()).isWritable() &&
        !QFileInfo::exists(m_path + QStringLiteral("-wal"))) {
        address.setQuery(QStringLiteral("immutable=1"));
    }
    m_database.setDatabaseName(address.toString(QUrl::FullyEncoded));
    m_database.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;") +
        QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeout.count()));
    if (!m_database.open()) {
        fail(QStringLiteral("cannot open it"), m_database.lastError().text());
    }
    if (!hasOutputMarks()) {
        m_runColumns = kRunColumnsWithoutOutputMarks;
    }
}

void RunJournal::openForWriting() {
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        fail(QStringLiteral("cannot make its folder"), QString());
    }
    m_database.setDatabaseName(m_path);
    // Another process may be writing a page this very moment.
    m_database.setConnectOptions(
        QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeout.count()));
    if (!m_database.open()) {
        fail(QStringLiteral("cannot open it"), m_database.lastError().text());
    }
    // Set before the first table, so that deleted runs give their space back at once; a
    // journal made earlier keeps its way until runs are deleted from it.
    QSqlQuery(m_database).exec(QStringLiteral("PRAGMA auto_vacuum = FULL"));
    useWriteAheadLog();
    createTables();
    addOutputMarks();
}

// Written ahead, a page's transaction costs one sync of a small log, and readers never wait.
void RunJournal::useWriteAheadLog() {
    // Two programs switching a new journal at the same moment: SQLite refuses one of them at
    // once instead of letting it wait, so it tries again until the switch is made.
    const QDeadlineTimer deadline(kBusyTimeout);
    QSqlQuery query(m_database);
    while (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL"))) {
        if (query.lastError().nativeErrorCode() != QLatin1String(kSqliteBusy) ||
            deadline.hasExpired()) {
            fail(QStringLiteral("cannot set it up"), query.lastError().text());
        }
        QThread::msleep(10);
    }
}

void RunJournal::createTables() {
    QSqlQuery query(m_database);
    const QString statements[] = {
        QStringLiteral("PRAGMA synchronous = FULL"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS runs ("
                       " id INTEGER PRIMARY KEY, kind TEXT NOT NULL, started TEXT NOT NULL,"
                       " source TEXT NOT NULL, settings TEXT NOT NULL,"
                       " pages INTEGER NOT NULL DEFAULT 0, lines INTEGER NOT NULL DEFAULT 0,"
                       " dropped INTEGER NOT NULL DEFAULT 0,"
                       " ended TEXT, ending TEXT, end_text TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS pages ("
                       " run INTEGER NOT NULL REFERENCES runs(id), number INTEGER NOT NULL,"
                       " address TEXT NOT NULL, captured TEXT NOT NULL, digest BLOB,"
                       " lines TEXT NOT NULL, UNIQUE (run, number))"),
        // The highest id given before runs were deleted, so that none is given twice.
        QStringLiteral("CREATE TABLE IF NOT EXISTS last_run_id (id INTEGER NOT NULL)"),
        QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion),
    };
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            fail(QStringLiteral("cannot set it up"), query.lastError().text());
        }
    }
}

bool RunJournal::hasOutputMarks() {
    QSqlQuery query = execute(QStringLiteral("SELECT name FROM pragma_table_info('runs') "
                                             "WHERE name = 'output_mark'"),
                              {}, QStringLiteral("cannot read its tables"));
    return query.next();
}

// A journal of an earlier version gets the column; another program may be adding it too.
void RunJournal::addOutputMarks() {
    QSqlQuery query(m_database);
    if (!hasOutputMarks() &&
        !query.exec(QStringLiteral("ALTER TABLE runs ADD COLUMN output_mark TEXT")) &&
        !hasOutputMarks()) {
        fail(QStringLiteral("cannot set it up"), query.lastError().text());
    }
}

qint64 RunJournal::startRun(JournalRun::Kind kind, const QString& source,
                            const QJsonObject& settings, const QString& outputMark) {
    const QString what = QStringLiteral("cannot record a new run");
    // The lock exists before anyone can see the run, so nobody takes it for a run that let go
    // without a word.
    qint64 id = 0;
    try {
        inOneTransaction(what, [&] {
            const QSqlQuery query =
                execute(QStringLiteral(
                            "INSERT INTO runs (id, kind, started, source, settings, output_mark)"
                            " SELECT max(coalesce((SELECT max(id) FROM runs), 0),"
                            " coalesce((SELECT max(id) FROM last_run_id), 0)) + 1, ?, ?, ?, ?, ?"),
                        {kindName(kind), timeText(QDateTime::currentDateTimeUtc()), source,
                         QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact)),
                         outputMark},
                        what);
            id = query.lastInsertId().toLongLong();
            hold(id);
        });
    } catch (const JournalError&) {
        m_held.remove(id);
        throw;
    }
    return id;
}

void RunJournal::resumeRun(qint64 id, const QJsonObject& settings, const QString& outputMark) {
    const QString what = QStringLiteral("cannot resume run %1").arg(id);
    const std::optional<JournalRun> resumed = run(id);
    if (!resumed || !resumed->canResume()) {
        fail(what, resumed ? QStringLiteral("it ended") : QStringLiteral("there is no such run"));
    }
    hold(id);
    try {
        execute(QStringLiteral("UPDATE runs SET ended = NULL, ending = NULL, end_text = NULL, "
                               "settings = ?, output_mark = ? WHERE id = ?"),
                {QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact)),
                 outputMark, id},
                what);
    } catch (const JournalError&) {
        m_held.remove(id);
        throw;
    }
}

void RunJournal::recordPage(qint64 id, const JournalPage& page, qint64 droppedSoFar,
                            const QString& outputMark) {
    const QString what = QStringLiteral("cannot record page %1").arg(page.number);
    inOneTransaction(what, [&] {
        execute(QStringLiteral("INSERT INTO pages (run, number, address, captured, digest, "
                               "lines) VALUES (?, ?, ?, ?, ?, ?)"),
                {id, page.number, page.address, timeText(page.captured), page.digest,
                 linesText(page.lines)},
                what);
        execute(QStringLiteral("UPDATE runs SET pages = ?, lines = lines + ?, dropped = ?, "
                               "output_mark = ? WHERE id = ?"),
                {page.number, page.lines.size(), droppedSoFar, outputMark, id}, what);
    });
}

void RunJournal::markOutput(qint64 id, const QString& outputMark) {
    execute(QStringLiteral("UPDATE runs SET output_mark = ? WHERE id = ?"), {outputMark, id},
            QStringLiteral("cannot record the output of run %1").arg(id));
}

void RunJournal::updateSettings(qint64 id, const QJsonObject& settings) {
    execute(QStringLiteral("UPDATE runs SET settings = ? WHERE id = ?"),
            {QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact)), id},
            QStringLiteral("cannot record the settings of run %1").arg(id));
}

void RunJournal::endRun(qint64 id, JournalRun::Ending ending, const QString& text) {
    std::shared_ptr<RunLock> held = m_held.take(id);
    try {
        execute(QStringLiteral("UPDATE runs SET ended = ?, ending = ?, end_text = ? WHERE id = ?"),
                {timeText(QDateTime::currentDateTimeUtc()), endingName(ending), text, id},
                QStringLiteral("cannot record the end of run %1").arg(id));
    } catch (const JournalError&) {
        // Its lock file left behind tells later readers that it did not end.
        if (held && JournalRun::canResume(ending)) {
            held->leaveFileBehind();
        }
        throw;
    }
    // The file a killed process left for the run says nothing any more; left over, it would do
    // no harm either.
    if (!held && QFileInfo::exists(lockPath(id))) {
        try {
            RunLock::tryHold(lockPath(id));
        } catch (const JournalError&) {
        }
    }
}

JournalRun RunJournal::runOf(const QSqlQuery& query) const {
    JournalRun run;
    run.id = query.value(0).toLongLong();
    run.kind = query.value(1).toString() == kindName(JournalRun::Kind::Window)
                   ? JournalRun::Kind::Window
                   : JournalRun::Kind::Command;
    run.started = timeOf(query.value(2));
    run.source = query.value(3).toString();
    run.settings = QJsonDocument::fromJson(query.value(4).toString().toUtf8()).object();
    run.pages = query.value(5).toInt();
    run.lines = query.value(6).toLongLong();
    run.dropped = query.value(7).toLongLong();
    run.ending = endingNamed(query.value(8).toString());
    run.endText = query.value(9).toString();
    run.outputMark = query.value(10).toString();
    // A run without an ending whose process let go of it as processes do when they end (not
    // when they are killed) ended without the journal hearing how.
    if (run.ending == JournalRun::Ending::None && !m_held.contains(run.id) &&
        !QFileInfo::exists(lockPath(run.id))) {
        run.ending = JournalRun::Ending::Unrecorded;
    }
    return run;
}

std::optional<JournalRun> RunJournal::run(qint64 id) {
    QSqlQuery query = execute(QStringLiteral("SELECT %1 FROM runs WHERE id = ?").arg(m_runColumns),
                              {id}, QStringLiteral("cannot read run %1").arg(id));
    return query.next() ? std::optional<JournalRun>(runOf(query)) : std::nullopt;
}

QList<JournalRun> RunJournal::recentRuns(int count) {
    QSqlQuery query =
        execute(QStringLiteral("SELECT %1 FROM runs ORDER BY id DESC LIMIT ?").arg(m_runColumns),
                {count}, QStringLiteral("cannot read the runs"));
    QList<JournalRun> runs;
    while (query.next()) {
        runs.append(runOf(query));
    }
    return runs;
}

std::optional<JournalRun> RunJournal::lastResumableRun(JournalRun::Kind kind) {
    QSqlQuery query =
        execute(QStringLiteral("SELECT %1 FROM runs WHERE kind = ? AND (ending IS NULL OR "
                               "ending = '' OR ending = ? OR ending = ?) ORDER BY id DESC")
                    .arg(m_runColumns),
                {kindName(kind), endingName(JournalRun::Ending::Interrupted),
                 endingName(JournalRun::Ending::Failed)},
                QStringLiteral("cannot read the runs"));
    while (query.next()) {
        const JournalRun candidate = runOf(query);
        if (candidate.canResume() && !isUnderWay(candidate.id)) {
            return candidate;
        }
    }
    return std::nullopt;
}

bool RunJournal::isUnderWay(qint64 id) {
    return m_held.contains(id) || RunLock::isHeld(lockPath(id));
}

QList<JournalPage> RunJournal::pages(qint64 id) {
    QSqlQuery query = execute(QStringLiteral("SELECT number, address, captured, digest, lines "
                                             "FROM pages WHERE run = ? ORDER BY number"),
                              {id}, QStringLiteral("cannot read the pages of run %1").arg(id));
    QList<JournalPage> pages;
    while (query.next()) {
        const int number = query.value(0).toInt();
        const std::optional<QStringList> lines = linesOf(query.value(4));
        if (!lines) {
            fail(QStringLiteral("cannot read page %1 of run %2")
                     .arg(QString::number(number), QString::number(id)),
                 QStringLiteral("its lines are damaged"));
        }
        pages.append({number, query.value(1).toString(), timeOf(query.value(2)), *lines,
                      query.value(3).toByteArray()});
    }
    return pages;
}

void RunJournal::deleteRuns(const QList<qint64>& ids) {
    // Held while they go, so that no process takes one up meanwhile.
    std::vector<std::unique_ptr<RunLock>> held;
    for (const qint64 id : ids) {
        std::unique_ptr<RunLock> lock =
            m_held.contains(id) ? nullptr : RunLock::tryHold(lockPath(id));
        if (!lock) {
            fail(QStringLiteral("cannot delete run %1").arg(id), QStringLiteral("it is under way"));
        }
        held.push_back(std::move(lock));
    }
    const QString what = QStringLiteral("cannot delete runs");
    inOneTransaction(what, [&] {
        execute(QStringLiteral("INSERT INTO last_run_id (id) SELECT max(id) FROM runs"
                               " HAVING max(id) IS NOT NULL"),
                {}, what);
        execute(
            QStringLiteral("DELETE FROM last_run_id WHERE id < (SELECT max(id) FROM last_run_id)"),
            {}, what);
        for (const qint64 id : ids) {
            execute(QStringLiteral("DELETE FROM pages WHERE run = ?"), {id}, what);
            execute(QStringLiteral("DELETE FROM runs WHERE id = ?"), {id}, what);
        }
    });
    giveSpaceBack();
}

qint64 RunJournal::size() {
    return pragmaValue(QStringLiteral("page_count")) * pragmaValue(QStringLiteral("page_size"));
}

void RunJournal::giveSpaceBack() {
    const QString what = QStringLiteral("cannot give the space of deleted runs back");
    if (pragmaValue(QStringLiteral("auto_vacuum")) == kNoAutoVacuum) {
        execute(QStringLiteral("PRAGMA auto_vacuum = FULL"), {}, what);
        execute(QStringLiteral("VACUUM"), {}, what);
    }
    // The log goes back to nothing, and the file to what it holds.
    execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"), {}, what);
}

qint64 RunJournal::pragmaValue(const QString& name) {
    QSqlQuery query =
        execute(QStringLiteral("PRAGMA ") + name, {}, QStringLiteral("cannot read its ") + name);
    return query.next() ? query.value(0).toLongLong() : 0;
}

void RunJournal::inOneTransaction(const QString& what, const std::function<void()>& statements) {
    if (!m_database.transaction()) {
        fail(what, m_database.lastError().text());
    }
    try {
        statements();
    } catch (const JournalError&) {
        m_database.rollback();
        throw;
    }
    if (!m_database.commit()) {
        const QString reason = m_database.lastError().text();
        m_database.rollback();
        fail(what, reason);
    }
}

QSqlQuery RunJournal::execute(const QString& statement, const QVariantList& values,
                              const QString& what) {
    QSqlQuery query(m_database);
    // Every read goes through its rows once.
    query.setForwardOnly(true);
    query.prepare(statement);
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        fail(what, query.lastError().text());
    }
    return query;
}

void RunJournal::hold(qint64 id) {
    if (m_held.contains(id)) {
        return;
    }
    std::unique_ptr<RunLock> lock = RunLock::tryHold(lockPath(id));
    if (!lock) {
        fail(QStringLiteral("cannot take up run %1").arg(id),
             QStringLiteral("it is under way in another process"));
    }
    m_held.insert(id, std::move(lock));
}

QString RunJournal::lockPath(qint64 id) const {
    return QFileInfo(m_path).absolutePath() + QStringLiteral("/run-%1.lock").arg(id);
}

void RunJournal::fail(const QString& what, const QString& reason) const {
    const QString detail = reason.isEmpty() ? QString() : QStringLiteral(": ") + reason;
    throw JournalError(
        QStringLiteral("the run journal %1 %2%3").arg(m_path, what, detail).toStdString());
}

}  // namespace larkspan
