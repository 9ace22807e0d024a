// The capture run and the Results pane's Save, on the capture tab's browser whatever tab is
// active; resuming a run that did not end, and the capture options.

#include "browser/local_wait.h"
#include "browser/twebbrowser.h"
#include "capture/capture_error.h"
#include "capture/listing_sources.h"
#include "capture/results_format.h"
#include "capture/results_workbook.h"
#include "capture/scraped_message.h"
#include "capture/search_batch.h"
#include "journal/journal_error.h"
#include "journal/run_journal.h"
#include "journal/run_recorder.h"
#include "shell/human_check_prompt.h"
#include "shell/journal_size_limit.h"
#include "shell/main_status_bar.h"
#include "shell/results_pane.h"
#include "shell/resume_offer.h"
#include "shell/save_file_types.h"
#include "shell/split_screen_setting.h"
#include "shell/text_panel.h"
#include "shell/tfrm_my_browser.h"
#include "shell/toolbar_images.h"
#include "shell/turning_page_loader.h"
#include "shell/user_dialogs.h"
#include "shell/wait_window.h"

#include <QDir>
#include <QJsonObject>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QToolButton>

namespace larkspan {
namespace {

const QString kCaptureCaption = QStringLiteral("Capture");
const QString kStopCaption = QStringLiteral("STOP!");
constexpr int kRunningImage = 0;
constexpr int kIdleImage = 8;
// How long a page may take to show what a profile waits for.
constexpr std::chrono::seconds kPageShowLimit{120};

// What the status bar says about a run that did not end at its last page; empty for one that did.
QString endOfRunText(const RunEnd& end) {
    switch (end.cause) {
        case RunEnd::Cause::LastPage:
            return {};
        case RunEnd::Cause::HostStopped:
            return cutShortText(end.pagesCaptured, QStringLiteral("stopped by the user"));
        case RunEnd::Cause::RepeatedPage:
            return QStringLiteral("Ended after %1: %2")
                .arg(pageCountText(end.pagesCaptured), repetitionText(end));
        case RunEnd::Cause::TurnFailed:
        case RunEnd::Cause::HumanCheck:
        case RunEnd::Cause::Error:
            break;
    }
    return cutShortText(end.pagesCaptured, end.failure);
}

QJsonObject settingsOf(const CaptureOptions& options, const ListingSourceChoice& source,
                       const QList<QUrl>& searches) {
    QJsonObject settings = source.toJson();
    settings.insert(QStringLiteral("dedupe"), options.dropRepeatedListings);
    settings.insert(QStringLiteral("delay"), options.delay.text());
    if (!searches.isEmpty()) {
        BatchProgress().addTo(settings, searches);
    }
    return settings;
}

// The searches the options list, when the window captures a list of them.
QList<QUrl> searchesOf(const CaptureOptions& options) {
    QList<QUrl> searches;
    if (options.captureList) {
        for (const QString& search : searchesListed(options.searchList)) {
            searches.append(
                QUrl::fromUserInput(search, QDir::currentPath(), QUrl::AssumeLocalFile));
        }
    }
    return searches;
}

}  // namespace

void TfrmMyBrowser::btnCaptureClick() {
    btnCapture->setIcon(toolbarImage(kRunningImage));
    // A press while a run waits finds "STOP!" and only closes; the run then ends after its page.
    if (btnCapture->text() == kStopCaption) {
        closeCaptureRun();
        return;
    }
    endDetection();
    // A profile that cannot be used is refused before the run starts.
    const ListingSourceChoice source = m_captureOptions.listingsFrom.choice(m_profileFolder);
    btnCapture->setText(kStopCaption);
    WaitForPageToLoad();
    keepJournalUnderLimit();
    RunRecorder recorder(m_journal, m_captureOptions.dropRepeatedListings);
    const QList<QUrl> searches = searchesOf(m_captureOptions);
    const QJsonObject settings = settingsOf(m_captureOptions, source, searches);
    recorder.start(JournalRun::Kind::Window,
                   searches.isEmpty() ? WebBrowser1->LocationURL() : searches.front().toString(),
                   settings);
    const QScopedValueRollback<RunRecorder*> current(m_recorder, &recorder);
    showJournalProblem();
    ProcessPageAUGL(source, settings,
                    searches.isEmpty() ? ChainStart{} : ChainStart{.address = searches.front()});
    closeCaptureRun();
}

void TfrmMyBrowser::resumeCaptureRun(const JournalRun& run) {
    RunRecorder recorder(m_journal, run.settings.value(QStringLiteral("dedupe")).toBool());
    const BatchProgress progress = BatchProgress::of(run.settings);
    const QList<QUrl> searches = BatchProgress::searchesOf(run.settings);
    const RunRecorder::ResumePoint resumed = recorder.resume(
        run, searches.isEmpty() ? QUrl(run.source) : searches.value(progress.searchesDone),
        progress.pagesDone);
    const QScopedValueRollback<RunRecorder*> current(m_recorder, &recorder);
    btnCapture->setIcon(toolbarImage(kRunningImage));
    btnCapture->setText(kStopCaption);
    mmResults->clearLines();
    mmResults->appendLines(resumed.lines);
    CapturedCount = qint32(resumed.lines.size());
    showResultsCount();
    ProcessPageAUGL(ListingSourceChoice::inUse(run.settings), run.settings, resumed.start);
    closeCaptureRun();
}

void TfrmMyBrowser::offerResume() {
    if (m_journal == nullptr) {
        return;
    }
    if (const std::optional<JournalRun> run = ResumeOffer(*m_journal, m_dialogs).ask(this)) {
        resumeCaptureRun(*run);
    }
}

void TfrmMyBrowser::closeCaptureRun() {
    btnCapture->setText(kCaptureCaption);
    btnCapture->setIcon(toolbarImage(kIdleImage));
    QString message = scrapedMessage(CapturedCount);
    if (m_recorder != nullptr && m_recorder->dropsRepeatedListings()) {
        message +=
            QStringLiteral("\n%1 repeated listings were dropped.").arg(m_recorder->dropped());
    }
    m_dialogs.information(this, message);
    CapturedCount = 0;
}

void TfrmMyBrowser::WaitForPageToLoad() {
    mmResults->clearLines();
    const WaitWindow wait(this, QStringLiteral("The page is loading..."));
    WebBrowser1->waitUntilComplete();
}

void TfrmMyBrowser::ProcessPageAUGL(const ListingSourceChoice& source, const QJsonObject& settings,
                                    const ChainStart& start) {
    const PageWait wait{[this](std::chrono::milliseconds duration) {
                            return pauseRun(duration,
                                            QStringLiteral("Waiting for the page to show its "
                                                           "listings..."));
                        },
                        kPageShowLimit};
    const ListingSources sources(m_parser, {}, wait, m_profileFolder);
    QJsonObject kept = settings;
    // What the run reads its pages with now; an automatic choice takes a source on the first
    // page of each search.
    QString readWith = QStringLiteral("Listings from: ") + source.text();
    const auto makeSource = [&] {
        return sources.make(source, [&](const ListingSourceChoice& taken) {
            ListingSourceChoice::keepTaken(kept, taken);
            if (m_recorder != nullptr) {
                m_recorder->noteSettings(kept);
            }
            readWith = QStringLiteral("Listings from: ") + taken.text() +
                       QStringLiteral(" (chosen automatically)");
            showStatusMessage(readWith);
        });
    };
    std::unique_ptr<ListingSource> listingSource;
    const QList<QUrl> searches = BatchProgress::searchesOf(settings);
    RunEnd end;
    if (searches.isEmpty()) {
        listingSource = makeSource();
        showStatusMessage(readWith);
        end = capturePageChain(*this, *listingSource, start);
    } else {
        BatchProgress progress = BatchProgress::of(settings);
        const SearchBatchHost batchHost{
            .newSource = [&]() -> ListingSource& {
                listingSource = makeSource();
                return *listingSource;
            },
            .searchStarts =
                [&](const BatchProgress& now) {
                    if (m_recorder != nullptr) {
                        m_recorder->setPagesBefore(now.pagesDone);
                    }
                    showStatusMessage(QStringLiteral("Search %1 of %2; %3")
                                          .arg(QString::number(now.searchesDone + 1),
                                               QString::number(searches.size()), readWith));
                },
            .searchEnded =
                [&](const BatchProgress& now, const QString&) {
                    ListingSourceChoice::keepTaken(kept, std::nullopt);
                    now.addTo(kept, searches);
                    if (m_recorder != nullptr) {
                        m_recorder->noteSettings(kept);
                    }
                },
            .stopped = [this] { return btnCapture->text() != kStopCaption || m_closing; },
        };
        end = captureSearches(*this, searches, progress, start, batchHost);
    }
    recordRunEnd(end);
    showStatusMessage(endOfRunText(end));
    // An error ends the run as any error of a handler does: in the error box, the button left
    // at "STOP!".
    if (end.cause == RunEnd::Cause::Error) {
        throw CaptureError(end.failure.toStdString());
    }
}

void TfrmMyBrowser::recordRunEnd(const RunEnd& end) {
    if (m_recorder == nullptr) {
        return;
    }
    if (m_closing) {
        m_recorder->end(JournalRun::Ending::Interrupted);
    } else {
        m_recorder->endAfter(end, JournalRun::Ending::Stopped);
    }
}

std::shared_ptr<dom::Document> TfrmMyBrowser::currentDocument() {
    return WebBrowser1->Document();
}

QUrl TfrmMyBrowser::currentAddress() {
    return QUrl(WebBrowser1->LocationURL());
}

dom::PageLoader& TfrmMyBrowser::pageLoader() {
    return *m_turningLoader;
}

QString TfrmMyBrowser::flattenedText(const QString& text) {
    mmParser->setText(text);
    return mmParser->text();
}

void TfrmMyBrowser::pageCaptured(const CapturedPage& page) {
    const QStringList lines =
        m_recorder ? m_recorder->keep(page, WebBrowser1->LocationURL()) : page.resultLines;
    showJournalProblem();
    mmResults->appendLines(lines);
    CapturedCount += qint32(lines.size());
    showResultsCount();
}

void TfrmMyBrowser::showResultsCount() {
    PageControl1->setTabText(PageControl1->indexOf(tbResults),
                             QStringLiteral("Results (%1 lines)").arg(mmResults->lineCount()));
}

bool TfrmMyBrowser::shouldTurnPage(int) {
    if (btnCapture->text() != kStopCaption) {
        return false;
    }
    const std::chrono::milliseconds pause = m_captureOptions.delay.pick();
    return pauseRun(pause, QStringLiteral("Waiting %1 s before the next page...")
                               .arg(double(pause.count()) / 1000, 0, 'f', 1));
}

bool TfrmMyBrowser::waitBeforeRetry(const PageRefusal& refusal) {
    return pauseRun(refusal.wait, refusal.text());
}

bool TfrmMyBrowser::passHumanCheck(const HumanCheck& check) {
    QString text = check.text();
    text[0] = text[0].toUpper();
    showStatusMessage(text + QStringLiteral(": pass it in the page, then press Continue"));
    HumanCheckPrompt prompt(text, this);
    // Over the Results pane, beside the page.
    prompt.move(PageControl1->mapToGlobal(QPoint(0, 0)));
    prompt.show();
    browser::LocalWait answered(&prompt);
    connect(&prompt, &HumanCheckPrompt::answered, &answered, &browser::LocalWait::finish);
    // The stop press ends the run here too.
    connect(btnCapture, &QToolButton::clicked, &answered, &browser::LocalWait::finish);
    answered.exec();
    return prompt.continued() && btnCapture->text() == kStopCaption;
}

bool TfrmMyBrowser::pauseRun(std::chrono::milliseconds duration, const QString& why) {
    if (duration.count() > 0) {
        showStatusMessage(why);
        browser::LocalWait pause(btnCapture);
        pause.setTimeLimit(duration);
        // The stop press ends the pause at once.
        connect(btnCapture, &QToolButton::clicked, &pause, [&pause] { pause.finish(); });
        if (pause.exec() != browser::LocalWait::Outcome::TimedOut) {
            return false;
        }
    }
    return btnCapture->text() == kStopCaption;
}

void TfrmMyBrowser::showJournalProblem() {
    const QString problem = m_recorder ? m_recorder->takeJournalProblem() : QString();
    if (!problem.isEmpty()) {
        showStatusMessage(problem);
    }
}

void TfrmMyBrowser::keepJournalUnderLimit() {
    if (m_journal == nullptr) {
        return;
    }
    try {
        const QString done = keepJournalUnder(*m_journal, m_captureOptions.journalLimitMegabytes);
        if (!done.isEmpty()) {
            showStatusMessage(done);
        }
    } catch (const JournalError& error) {
        // Only the tidying failed; the capture goes on.
        showStatusMessage(QString::fromUtf8(error.what()));
    }
}

void TfrmMyBrowser::showStatusMessage(const QString& text) {
    StatusBar1->showStatusText(text);
    // The panel may be too narrow for all of it.
    StatusBar1->setToolTip(text);
}

void TfrmMyBrowser::ToolButton2Click() {
    try {
        const UserDialogs::SaveRequest request{
            QStringLiteral("Save data as..."), kSaveFileTypes,
            m_lastSavePath.isEmpty() ? QStringLiteral("larkspan1.csv") : m_lastSavePath};
        QString chosenType;
        const QString path = m_dialogs.saveFileName(this, request, &chosenType);
        if (path.isEmpty()) {
            return;
        }
        const SaveTarget target = saveTargetFor(path, chosenType);
        m_lastSavePath = target.path;
        const qint64 cellsCut =
            writeResults(target.path, target.format, mmResults->lines(), target.guardFormulas);
        if (cellsCut > 0) {
            StatusBar1->showStatusText(cellsCutText(cellsCut));
            StatusBar1->setToolTip(cellsCutText(cellsCut));
        }
    } catch (const std::exception&) {
        m_dialogs.information(this, QStringLiteral("Data cannot be saved!"));
    }
}

void TfrmMyBrowser::CaptureOptionsClick() {
    QList<ListingsFrom> offered = ListingsFrom::offered(m_profileFolder);
    // A chosen profile whose file has gone stays on offer; a run then says what is wrong.
    if (!offered.contains(m_captureOptions.listingsFrom)) {
        offered.append(m_captureOptions.listingsFrom);
    }
    CaptureOptionsDialog dialog(m_captureOptions, offered, this);
    const int answer = dialog.exec();
    if (answer == CaptureOptionsDialog::kDetectListings) {
        DetectListingsClick();
        return;
    }
    if (answer == QDialog::Accepted) {
        m_captureOptions = dialog.options();
        m_splitSetting.setJournalLimit(m_captureOptions.journalLimitMegabytes);
        m_splitSetting.setListingsFrom(m_captureOptions.listingsFrom.settingText());
        m_splitSetting.setSearchList(m_captureOptions.captureList, m_captureOptions.searchList);
        keepJournalUnderLimit();
    }
}

}  // namespace larkspan
