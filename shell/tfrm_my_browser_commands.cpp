// The main menu's commands, on the current browser.

#include "browser/offline_switch.h"
#include "browser/twebbrowser.h"
#include "browser/wb_funcs.h"
#include "inspect/page_marks.h"
#include "shell/global_offline.h"
#include "shell/main_menu.h"
#include "shell/security_zone.h"
#include "shell/tfrm_my_browser.h"
#include "shell/user_dialogs.h"

#include <QAction>
#include <QToolBar>

namespace larkspan {

void TfrmMyBrowser::File1Click() {
    m_menu->updateFileMenu(GetCurrentWB(), m_offline != nullptr && m_offline->isOffline());
}

void TfrmMyBrowser::Edit2Click() {
    m_menu->updateEditMenu(GetCurrentWB());
}

void TfrmMyBrowser::View1Click() {
    m_menu->updateViewMenu(GetCurrentWB());
    m_menu->DesignMode1->setChecked(IsDesignMode(GetCurrentWB()));
}

void TfrmMyBrowser::Extras1Click() {
    m_menu->updateExtrasMenu(GetCurrentWB());
}

void TfrmMyBrowser::Zoom1Click() {
    m_menu->updateTextSizeMenu(GetCurrentWB());
}

void TfrmMyBrowser::Open1Click() {
    const QString path = m_dialogs.openFileName(
        this, QStringLiteral("Open"),
        QStringLiteral("Web pages (*.htm *.html *.xhtml *.mht *.mhtml);;All files (*)"));
    if (TWebbrowser* browser = GetCurrentWB(); browser != nullptr && !path.isEmpty()) {
        browser->Navigate(QUrl::fromLocalFile(path));
    }
}

void TfrmMyBrowser::SaveAs1Click() {
    BrowserSaveAs(GetCurrentWB(), [this](const QString& suggestedName) {
        return m_dialogs.saveFileName(this,
                                      {QStringLiteral("Save As"),
                                       QStringLiteral("Web page, complete (*.htm *.html);;"
                                                      "Web archive, single file (*.mht *.mhtml)"),
                                       suggestedName},
                                      nullptr);
    });
}

void TfrmMyBrowser::Print1Click() {
    const PrintOutcome outcome = BrowserPrint(GetCurrentWB(), printer(), [this](QPrinter& chosen) {
        return m_dialogs.print(this, chosen);
    });
    if (outcome == PrintOutcome::Canceled) {
        m_dialogs.information(this, QStringLiteral("Canceled by User"));
    } else if (outcome == PrintOutcome::Failed) {
        m_dialogs.information(this, QStringLiteral("Error While Printing"));
    }
}

void TfrmMyBrowser::PrintPreview1Click() {
    BrowserPrintPreview(GetCurrentWB(), printer(),
                        [this](QPrinter& shown, const PagePainter& paint) {
                            m_dialogs.printPreview(this, shown, paint);
                        });
}

void TfrmMyBrowser::PageSetup1Click() {
    BrowserPageSetup(GetCurrentWB(), printer(),
                     [this](QPrinter& chosen) { return m_dialogs.pageSetup(this, chosen); });
}

void TfrmMyBrowser::Properties1Click() {
    TWebbrowser* browser = GetCurrentWB();
    if (!HasDocument(browser)) {
        return;
    }
    const QUrl address(browser->LocationURL());
    m_dialogs.information(this,
                          QStringLiteral("%1\n\nAddress: %2\nType: %3\nZone: %4")
                              .arg(browser->LocationName(), address.toDisplayString(),
                                   HasHTMLDocument(browser) ? QStringLiteral("HTML document")
                                                            : QStringLiteral("Other document"),
                                   SecurityZone::ofUrl(address).displayName()));
}

void TfrmMyBrowser::OfflineMode1Click() {
    if (m_offline == nullptr) {
        m_offline = new browser::OfflineSwitch(this);
    }
    m_offline->setOffline(!m_offline->isOffline());
    m_menu->OfflineMode1->setChecked(m_offline->isOffline() || IsGlobalOffline());
}

void TfrmMyBrowser::Exit1Click() {
    close();
}

void TfrmMyBrowser::Cut1Click() {
    ExecDocumentCommand(GetCurrentWB(), DocumentCommand::Cut);
}

void TfrmMyBrowser::Copy1Click() {
    BrowserCopy(GetCurrentWB());
}

void TfrmMyBrowser::Paste1Click() {
    ExecDocumentCommand(GetCurrentWB(), DocumentCommand::Paste);
}

void TfrmMyBrowser::SelectAll1Click() {
    BrowserSelectAll(GetCurrentWB());
}

void TfrmMyBrowser::Search1Click() {
    BrowserFind(GetCurrentWB());
}

void TfrmMyBrowser::ViewSource1Click() {
    BrowserViewSource(GetCurrentWB());
}

void TfrmMyBrowser::urkishWindows1Click(QAction* item) {
    if (SetDocumentCharset(GetCurrentWB(), MainMenu::charsetOf(item))) {
        m_menu->markEncoding(item);
    } else {
        m_menu->keepEncodingMark();
    }
}

void TfrmMyBrowser::Smallest1Click(QAction* item) {
    // Choosing flipped the item's mark; what happens next decides it.
    item->setChecked(!item->isChecked());
    TWebbrowser* browser = GetCurrentWB();
    if (HasHTMLDocument(browser)) {
        SetTextSize(browser, MainMenu::textSizeOf(item));
        m_menu->markTextSize(item);
    }
}

void TfrmMyBrowser::Addressbar1Click() {
    pnAddress->setVisible(pnAddress->isHidden());
    m_menu->Addressbar1->setChecked(!pnAddress->isHidden());
}

void TfrmMyBrowser::NavigationBar1Click() {
    tbarNav->setVisible(tbarNav->isHidden());
    m_menu->NavigationBar1->setChecked(!tbarNav->isHidden());
}

void TfrmMyBrowser::Cookie1Click() {
    const QString cookies = GetDocumentCookies(GetCurrentWB());
    m_dialogs.information(this, cookies.isEmpty()
                                    ? QStringLiteral("There are no cookies in this webpage.")
                                    : cookies);
}

void TfrmMyBrowser::InternetOptions1Click() {
    BrowserOptions(GetCurrentWB(), this);
}

}  // namespace larkspan
