// The capture run and the Results pane's Save, on the capture tab's browser whatever tab is
// active.

#include "browser/twebbrowser.h"
#include "capture/capture_error.h"
#include "capture/results_file.h"
#include "capture/scraped_message.h"
#include "shell/main_status_bar.h"
#include "shell/results_pane.h"
#include "shell/text_panel.h"
#include "shell/tfrm_my_browser.h"
#include "shell/toolbar_images.h"
#include "shell/turning_page_loader.h"
#include "shell/user_dialogs.h"
#include "shell/wait_window.h"

#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
#include <QToolButton>

namespace larkspan {
namespace {

const QString kCaptureCaption = QStringLiteral("Capture");
const QString kStopCaption = QStringLiteral("STOP!");
constexpr int kRunningImage = 0;
constexpr int kIdleImage = 8;

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
        case RunEnd::Cause::Error:
            break;
    }
    return cutShortText(end.pagesCaptured, end.failure);
}

}  // namespace

void TfrmMyBrowser::btnCaptureClick() {
    btnCapture->setIcon(toolbarImage(kRunningImage));
    // A press while a run waits finds "STOP!" and only closes; the run then ends after its page.
    if (btnCapture->text() != kStopCaption) {
        btnCapture->setText(kStopCaption);
        WaitForPageToLoad();
        ProcessPageAUGL();
    }
    closeCaptureRun();
}

void TfrmMyBrowser::closeCaptureRun() {
    btnCapture->setText(kCaptureCaption);
    btnCapture->setIcon(toolbarImage(kIdleImage));
    m_dialogs.information(this, scrapedMessage(CapturedCount));
    CapturedCount = 0;
}

void TfrmMyBrowser::WaitForPageToLoad() {
    mmResults->clearLines();
    const WaitWindow wait(this, QStringLiteral("The page is loading..."));
    WebBrowser1->waitUntilComplete();
}

void TfrmMyBrowser::ProcessPageAUGL() {
    const RunEnd end = capturePageChain(*this, m_parser);
    const QString endText = endOfRunText(end);
    StatusBar1->showStatusText(endText);
    // The panel may be too narrow for the whole reason.
    StatusBar1->setToolTip(endText);
    // An error ends the run as any error of a handler does: in the error box, the button left
    // at "STOP!".
    if (end.cause == RunEnd::Cause::Error) {
        throw CaptureError(end.failure.toStdString());
    }
}

std::shared_ptr<dom::Document> TfrmMyBrowser::currentDocument() {
    return WebBrowser1->Document();
}

dom::PageLoader& TfrmMyBrowser::pageLoader() {
    return *m_turningLoader;
}

QString TfrmMyBrowser::flattenedText(const QString& text) {
    mmParser->setText(text);
    return mmParser->text();
}

void TfrmMyBrowser::pageCaptured(int, const QStringList& resultLines) {
    for (const QString& line : resultLines) {
        mmResults->appendLine(line);
        ++CapturedCount;
    }
    PageControl1->setTabText(PageControl1->indexOf(tbResults),
                             QStringLiteral("Results (%1 lines)").arg(mmResults->lineCount()));
}

bool TfrmMyBrowser::shouldTurnPage(int) {
    return btnCapture->text() == kStopCaption;
}

void TfrmMyBrowser::ToolButton2Click() {
    try {
        const UserDialogs::SaveRequest request{
            QStringLiteral("Save data as..."),
            QStringLiteral("CSV database or excel text file (*.csv);;Text file (*.txt)"),
            m_lastSavePath.isEmpty() ? QStringLiteral("larkspan1.csv") : m_lastSavePath};
        QString path = m_dialogs.saveFileName(this, request);
        if (path.isEmpty()) {
            return;
        }
        if (QFileInfo(path).suffix().isEmpty()) {
            path += QStringLiteral(".csv");
        }
        m_lastSavePath = path;
        writeResultsFile(path, mmResults->lines());
    } catch (const std::exception&) {
        m_dialogs.information(this, QStringLiteral("Data cannot be saved!"));
    }
}

}  // namespace larkspan
