// The address bar, the search box, the navigation toolbar, the start page and the directory's
// search page.

#include "browser/twebbrowser.h"
#include "browser/wb_funcs.h"
#include "inspect/event_log.h"
#include "shell/browser_html.h"
#include "shell/directory_search.h"
#include "shell/main_menu.h"
#include "shell/start_page.h"
#include "shell/tfrm_my_browser.h"
#include "shell/web_search.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

namespace larkspan {

void TfrmMyBrowser::WriteHTMLToBrowser(TWebbrowser* browser, const QString& html) {
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
    WebBrowser1->Navigate(QUrl(m_menu->Goto1->toolTip()));
}

void TfrmMyBrowser::openInCaptureTab(const QUrl& address) {
    edURL->setText(address.toString());
    // Guarded: the window may be closed while the page loads.
    const QPointer<TWebbrowser> browser = WebBrowser1;
    NavigateAndWait(browser, address);
    FocusDocument(browser);
}

void TfrmMyBrowser::btnGoClick() {
    if (edURL->text().isEmpty()) {
        return;
    }
    lvEventLog->clear();
    // The tab may be closed while its page loads.
    const QPointer<TWebbrowser> browser = GetCurrentWB();
    NavigateAndWait(browser, QUrl::fromUserInput(edURL->text()));
    FocusDocument(browser);
}

void TfrmMyBrowser::btnSearchClick() {
    NavigateAndWait(GetCurrentWB(), webSearchURL(edSearch->text()));
}

void TfrmMyBrowser::ToolbtnBackClick() {
    BrowserGoBack(GetCurrentWB());
}

void TfrmMyBrowser::ToolBtnForwardClick() {
    BrowserGoForward(GetCurrentWB());
}

void TfrmMyBrowser::ToolBtnStopClick() {
    BrowserStop(GetCurrentWB());
}

void TfrmMyBrowser::ToolBtnRefreshClick() {
    BrowserRefresh(GetCurrentWB());
    ToolBtnStop->setEnabled(true);
}

void TfrmMyBrowser::ToolBtnSearchClick() {
    BrowserFind(GetCurrentWB());
}

void TfrmMyBrowser::SpeedButtonScrollTopClick() {
    ScrollToTop(GetCurrentWB());
}

void TfrmMyBrowser::SpeedButtonScrollBottomClick() {
    ScrollToBottom(GetCurrentWB());
}

}  // namespace larkspan
