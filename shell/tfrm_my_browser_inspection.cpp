// The inspection tools: document views, the element under the cursor, search and highlight,
// display options, the event log, page editing, and showing the tools at all.

#include "browser/dom.h"
#include "browser/page_inspection.h"
#include "browser/twebbrowser.h"
#include "inspect/display_options.h"
#include "inspect/element_inspector.h"
#include "inspect/event_log.h"
#include "inspect/inspection_views.h"
#include "inspect/page_marks.h"
#include "inspect/search_box.h"
#include "inspect/tfrm_add_html.h"
#include "shell/browser_tabs.h"
#include "shell/main_menu.h"
#include "shell/split_screen_setting.h"
#include "shell/tfrm_my_browser.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QTabWidget>

namespace larkspan {

void TfrmMyBrowser::PageControlInfosChange() {
    m_views->refresh(m_tabs->FPrevBrowser, WebBrowser1);
}

void TfrmMyBrowser::Timer1Timer() {
    m_inspector->refresh(GetCurrentWB(), QCursor::pos());
}

void TfrmMyBrowser::btnSearchAndHighlightClick() {
    SearchAndHighlight(GetCurrentWB(), m_search->text());
}

void TfrmMyBrowser::chk3DBorderStyleClick(bool bordered) {
    SetBodyBorder(GetCurrentWB(), bordered);
}

void TfrmMyBrowser::chkNoScrollBarsClick(bool hidden) {
    SetBodyScrollBars(GetCurrentWB(), hidden);
}

void TfrmMyBrowser::WebBrowser1DownloadBegin(TWebbrowser* sender) {
    LogEvent(QStringLiteral("OnDownloadBegin"), sender);
}

void TfrmMyBrowser::LogEvent(const QString& name, TWebbrowser* sender) {
    const QTabWidget* tabs = m_tabs->pageControl();
    const int index = tabs->indexOf(sender->parentWidget());
    lvEventLog->LogEvent(
        name, QStringLiteral("tab %1 (%2)").arg(QString::number(index + 1), tabs->tabText(index)));
}

void TfrmMyBrowser::AddHTML1Click() {
    // The buttons' work runs inside the dialog's event loop, so it reports its own errors.
    TfrmAddHTML dialog(
        [this](const QString& html) {
            guarded([this, &html] {
                // The capture tab's page, whatever tab is active.
                std::optional<browser::PageInspection> page =
                    browser::PageInspection::open(WebBrowser1);
                if (!page) {
                    return;
                }
                if (!page->isHtmlDocument()) {
                    throw dom::DomError("The capture tab does not show an HTML document");
                }
                page->insertBodyHTML(html);
            });
        },
        [this](const QString& html) {
            guarded([this, &html] {
                if (TWebbrowser* browser = GetCurrentWB()) {
                    WriteHTMLToBrowser(browser, html);
                }
            });
        },
        this);
    dialog.exec();
}

void TfrmMyBrowser::DesignMode1Click() {
    // The item's mark flipped with the choice; the page decides it.
    TWebbrowser* browser = GetCurrentWB();
    SetDesignMode(browser, !IsDesignMode(browser));
    m_menu->DesignMode1->setChecked(IsDesignMode(browser));
}

void TfrmMyBrowser::InspectionTools1Click() {
    const bool shown = m_menu->InspectionTools1->isChecked();
    showInspectionTools(shown);
    m_splitSetting.setInspectionToolsShown(shown);
}

void TfrmMyBrowser::showInspectionTools(bool shown) {
    m_menu->InspectionTools1->setChecked(shown);
    m_tabs->setParsingInfoShown(shown);
    m_views->setAllTabsShown(shown);
    for (QWidget* page : m_inspectionPages) {
        PageControl1->setTabVisible(PageControl1->indexOf(page), shown);
    }
    m_menu->Extras1->menuAction()->setVisible(shown);
}

}  // namespace larkspan
