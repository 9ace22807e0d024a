#include "journal/run_recorder.h"

#include "journal/journal_error.h"
#include "journal/run_journal.h"

namespace larkspan {

RunRecorder::RunRecorder(RunJournal* journal, bool dropRepeatedListings)
    : m_journal(journal), m_dropRepeated(dropRepeatedListings) {}

void RunRecorder::setOutputMark(std::function<QString()> outputMark) {
    m_outputMark = std::move(outputMark);
}

QString RunRecorder::outputMark() const {
    return m_outputMark ? m_outputMark() : QString();
}

void RunRecorder::start(JournalRun::Kind kind, const QString& source, const QJsonObject& settings) {
    if (m_journal == nullptr) {
        return;
    }
    try {
        m_runId = m_journal->startRun(kind, source, settings, outputMark());
    } catch (const JournalError& error) {
        loseJournal(error);
    }
}

RunRecorder::ResumePoint RunRecorder::resume(const JournalRun& run, const QUrl& source,
                                             int pagesBefore) {
    if (m_journal == nullptr) {
        throw JournalError("there is no run journal to resume from");
    }
    m_journal->resumeRun(run.id, run.settings, outputMark());
    m_runId = run.id;
    ResumePoint point;
    point.start.address = source;
    m_pagesBefore = pagesBefore;
    for (const JournalPage& page : m_journal->pages(run.id)) {
        if (m_dropRepeated) {
            m_dedupe.remember(page.lines);
        }
        point.lines += page.lines;
        if (page.number > pagesBefore) {
            point.start.pagesBefore.append(page.digest);
            point.start.address = QUrl(page.address);
        }
        ++point.pages;
    }
    m_droppedBefore = run.dropped;
    return point;
}

QStringList RunRecorder::keep(const CapturedPage& page, const QString& address,
                              const std::function<void(const QStringList&)>& output) {
    const QStringList lines =
        m_dropRepeated ? m_dedupe.newListings(page.resultLines) : page.resultLines;
    if (output) {
        output(lines);
    }
    record([&](RunJournal& journal, qint64 id) {
        journal.recordPage(
            id,
            {m_pagesBefore + page.number, address, QDateTime::currentDateTimeUtc(), lines,
             page.digest},
            dropped(), outputMark());
    });
    return lines;
}

void RunRecorder::noteOutput() {
    record([&](RunJournal& journal, qint64 id) { journal.markOutput(id, outputMark()); });
}

void RunRecorder::noteSettings(const QJsonObject& settings) {
    record([&](RunJournal& journal, qint64 id) { journal.updateSettings(id, settings); });
}

void RunRecorder::end(JournalRun::Ending ending, const QString& text) {
    const std::optional<qint64> id = m_runId;
    record([&](RunJournal& journal, qint64 runId) { journal.endRun(runId, ending, text); });
    m_runId.reset();
    if (m_journal != nullptr && id && JournalRun::canResume(ending)) {
        m_resumable = id;
    }
}

void RunRecorder::endAfter(const RunEnd& end, JournalRun::Ending hostStop) {
    switch (end.cause) {
        case RunEnd::Cause::LastPage:
            this->end(JournalRun::Ending::LastPage);
            break;
        case RunEnd::Cause::HostStopped:
            this->end(hostStop);
            break;
        case RunEnd::Cause::RepeatedPage:
            this->end(JournalRun::Ending::RepeatedPage, repetitionText(end));
            break;
        case RunEnd::Cause::TurnFailed:
        case RunEnd::Cause::HumanCheck:
        case RunEnd::Cause::Error:
            this->end(JournalRun::Ending::Failed, end.failure);
            break;
    }
}

QString RunRecorder::takeJournalProblem() {
    return std::exchange(m_problem, QString());
}

void RunRecorder::loseJournal(const JournalError& error) {
    m_problem = QString::fromUtf8(error.what()) + kCannotBeResumed;
    m_journal = nullptr;
}

void RunRecorder::record(const std::function<void(RunJournal&, qint64)>& write) {
    if (m_journal == nullptr || !m_runId) {
        return;
    }
    try {
        write(*m_journal, *m_runId);
    } catch (const JournalError& error) {
        loseJournal(error);
    }
}

}  // namespace larkspan
