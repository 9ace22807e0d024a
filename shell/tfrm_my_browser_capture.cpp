// The capture run and the Results pane's Save, on the capture tab's browser whatever tab is
// active.

#include "shell/results_pane.h"
#include "shell/text_panel.h"
#include "shell/tfrm_my_browser.h"
#include "shell/toolbar_images.h"
#include "shell/turning_page_loader.h"
#include "shell/user_dialogs.h"
#include "shell/wait_window.h"
#include "browser/twebbrowser.h"
#include "capture/results_file.h"
#include "capture/scraped_message.h"

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
    capturePageChain(*this, m_parser);
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
