// The browser tabs: new windows, switches by the user, closing and duplicating, and Ctrl+N.

#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "browser/wb_funcs.h"
#include "inspect/inspection_views.h"
#include "inspect/page_message_hook.h"
#include "shell/browser_tabs.h"
#include "shell/tfrm_my_browser.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace larkspan {
namespace {

bool isDuplicateKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    return key->key() == Qt::Key_N &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

}  // namespace

void TfrmMyBrowser::WebBrowser1NewWindow2(TWebbrowser* sender, QPointer<TWebbrowser>& ppDisp,
                                          bool& Cancel) {
    LogEvent(QStringLiteral("OnNewWindow"), sender);
    if (sender->ReadyState() != 4) {
        ppDisp = nullptr;
        Cancel = true;
        return;
    }
    // A fresh browser is loading nothing, so it counts as complete at once; the engine loads the
    // requested page into it after the hand-over.
    TWebbrowser* browser =
        BrowserTabs::browserOf(m_tabs->CreateBrowserTab(QString(), BrowserTabs::kNewTabCaption));
    ppDisp = browser;
    Cancel = browser == nullptr;
}

void TfrmMyBrowser::PageControlChange() {
    // Back and Forward follow every change of the active tab (showNavigationState).
    if (TWebbrowser* browser = BrowserTabs::browserOf(m_tabs->pageControl()->currentWidget())) {
        try {
            FocusDocument(browser);
            if (browser->LocationURL() != QStringLiteral("about:blank")) {
                edURL->setText(browser->LocationURL());
            }
            setWindowTitle(browser->FTitle);
        } catch (const dom::DomError&) {
        }
    }
    // The capture tab's text, whatever tab is active.
    m_views->fillPlainText(WebBrowser1);
    // Arriving at the views shows the active one as the page is now.
    if (m_tabs->pageControl()->currentWidget() == m_views) {
        PageControlInfosChange();
    }
}

void TfrmMyBrowser::showNavigationState() {
    const TWebbrowser* browser = BrowserTabs::browserOf(m_tabs->pageControl()->currentWidget());
    ToolbtnBack->setEnabled(browser != nullptr && browser->FNavBack);
    ToolBtnForward->setEnabled(browser != nullptr && browser->FNavForward);
}

void TfrmMyBrowser::CloseTab1Click() {
    m_tabs->CloseTab1Click();
}

void TfrmMyBrowser::DuplicateTab1Click() {
    m_tabs->DuplicateTab1Click();
}

bool TfrmMyBrowser::ApplicationEvents1Message(QObject* receiver, QEvent* event) {
    // Ctrl+N duplicates the current tab, from any box of the program, modal ones included.
    if (!isDuplicateKey(event)) {
        return m_pageHook->filter(receiver, event);
    }
    try {
        if (!HasDocument(GetCurrentWB())) {
            return false;
        }
    } catch (const dom::DomError&) {
        return false;
    }
    // Held down, the key would open tab after tab.
    if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        QMetaObject::invokeMethod(
            this, [this] { guarded([this] { DuplicateTab1Click(); }); }, Qt::QueuedConnection);
    }
    return true;
}

}  // namespace larkspan
