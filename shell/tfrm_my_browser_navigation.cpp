// The address bar, the navigation toolbar, the start page and the directory's search page.

#include "shell/browser_html.h"
#include "shell/directory_search.h"
#include "shell/start_page.h"
#include "shell/tfrm_my_browser.h"
#include "browser/twebbrowser.h"

#include <QApplication>
#include <QLineEdit>
#include <QToolButton>

#include <climits>

namespace larkspan {
namespace {

bool hasHtmlDocument(TWebbrowser* browser) {
    if (browser == nullptr) {
        return false;
    }
    const auto document = browser->Document();
    return document && document->isHtmlDocument();
}

// Engine errors of these commands are not the user's concern: the command simply does nothing.
template <typename Command>
void onHtmlDocument(TWebbrowser* browser, Command&& command) {
    try {
        if (hasHtmlDocument(browser)) {
            command(*browser);
        }
    } catch (const dom::DomError&) {
    }
}

}  // namespace

void TfrmMyBrowser::WriteHTMLToBrowser(TWebbrowser* browser, const QString& html) {
    // No blank page first: the engine would keep it as a page of its own in the history, and
    // Back would lead to it (at start-up Back would be enabled).
    browser->LoadHTML(styledHtmlForBrowser(html));
}

void TfrmMyBrowser::LarkspanStartPage1Click() {
    WriteHTMLToBrowser(WebBrowser1, BuildStartPage());
    edURL->setText(DirectorySearchURL());
}

void TfrmMyBrowser::ToolBtnHomeClick() {
    LarkspanStartPage1Click();
}

void TfrmMyBrowser::ToolbtnLarkspanClick() {
    WebBrowser1->Navigate(QUrl(DirectorySearchURL()));
}

void TfrmMyBrowser::Goto1Click() {
    WebBrowser1->Navigate(QUrl(Goto1->toolTip()));
}

void TfrmMyBrowser::btnGoClick() {
    TWebbrowser* browser = GetCurrentWB();
    if (edURL->text().isEmpty() || browser == nullptr) {
        return;
    }
    // The typed address takes the shown page's place in the history.
    browser->NavigateNoHistory(QUrl::fromUserInput(edURL->text()));
    browser->waitUntilComplete();
    if (hasHtmlDocument(browser)) {
        browser->setFocus();
    }
}

void TfrmMyBrowser::ToolbtnBackClick() {
    onHtmlDocument(GetCurrentWB(), [](TWebbrowser& browser) { browser.GoBack(); });
}

void TfrmMyBrowser::ToolBtnForwardClick() {
    onHtmlDocument(GetCurrentWB(), [](TWebbrowser& browser) { browser.GoForward(); });
}

void TfrmMyBrowser::ToolBtnStopClick() {
    onHtmlDocument(GetCurrentWB(), [](TWebbrowser& browser) { browser.Stop(); });
}

void TfrmMyBrowser::ToolBtnRefreshClick() {
    onHtmlDocument(GetCurrentWB(), [](TWebbrowser& browser) {
        // Ctrl held: reload everything, bypassing the cache.
        if (QApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier)) {
            browser.Refresh2(TWebbrowser::RefreshCompletely);
        } else {
            browser.Refresh();
        }
    });
    ToolBtnStop->setEnabled(true);
}

void TfrmMyBrowser::SpeedButtonScrollTopClick() {
    onHtmlDocument(GetCurrentWB(), [](TWebbrowser& browser) { browser.ScrollTo(0, 0); });
}

void TfrmMyBrowser::SpeedButtonScrollBottomClick() {
    onHtmlDocument(GetCurrentWB(), [](TWebbrowser& browser) { browser.ScrollTo(0, INT_MAX); });
}

}  // namespace larkspan
