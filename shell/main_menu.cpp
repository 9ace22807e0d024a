#include "shell/main_menu.h"

#include "browser/twebbrowser.h"
#include "browser/wb_funcs.h"
#include "shell/global_offline.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace larkspan {
namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& caption, bool shown = true) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setVisible(shown);
    return item;
}

void addSeparator(QMenu* menu, bool shown) {
    menu->addSeparator()->setVisible(shown);
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption, bool shown = true) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setVisible(shown);
    return menu;
}

}  // namespace

MainMenu::MainMenu(QMenuBar* bar, QWidget* addressBar, QWidget* navigationBar)
    : QObject(bar), m_addressBar(addressBar), m_navigationBar(navigationBar) {
    buildFileMenu(bar);
    buildEditMenu(bar);
    buildViewMenu(bar);
    buildExtrasMenu(bar);
}

void MainMenu::buildFileMenu(QMenuBar* bar) {
    File1 = addMenu(bar, "File1", QStringLiteral("&File"));
    LarkspanStartPage1 =
        addItem(File1, "LarkspanStartPage1", QStringLiteral("Go to Start Page (Larkspan) "));
    Goto1 = addItem(File1, "Goto1", QString());
    addSeparator(File1, false);
    Open1 = addItem(File1, "Open1", QStringLiteral("&Open..."), false);
    SaveAs1 = addItem(File1, "SaveAs1", QStringLiteral("&Save As..."), false);
    addSeparator(File1, false);
    Print1 = addItem(File1, "Print1", QStringLiteral("&Print..."), false);
    PrintPreview1 = addItem(File1, "PrintPreview1", QStringLiteral("Print Previe&w"), false);
    PageSetup1 = addItem(File1, "PageSetup1", QStringLiteral("Page &Setup"), false);
    addSeparator(File1, false);
    Properties1 = addItem(File1, "Properties1", QStringLiteral("P&roperties"), false);
    addSeparator(File1, false);
    OfflineMode1 = addItem(File1, "OfflineMode1", QStringLiteral("O&ffline Mode"), false);
    OfflineMode1->setCheckable(true);
    Exit1 = addItem(File1, "Exit1", QStringLiteral("&Exit"));
}

void MainMenu::buildEditMenu(QMenuBar* bar) {
    Edit2 = addMenu(bar, "Edit2", QStringLiteral("&Edit"));
    Cut1 = addItem(Edit2, "Cut1", QStringLiteral("&Cut"), false);
    Copy1 = addItem(Edit2, "Copy1", QStringLiteral("Cop&y"));
    Paste1 = addItem(Edit2, "Paste1", QStringLiteral("&Paste"), false);
    addSeparator(Edit2, true);
    SelectAll1 = addItem(Edit2, "SelectAll1", QStringLiteral("Select &All"));
    addSeparator(Edit2, true);
    Search1 = addItem(Edit2, "Search1", QStringLiteral("&Search (Current Page)..."));
}

void MainMenu::buildViewMenu(QMenuBar* bar) {
    View1 = addMenu(bar, "View1", QStringLiteral("&View"));
    ViewSource1 = addItem(View1, "ViewSource1", QStringLiteral("&Source Code"));
    addSeparator(View1, true);
    buildEncodingMenu();
    buildTextSizeMenu();
    addSeparator(View1, false);
    DesignMode1 = addItem(View1, "DesignMode1", QStringLiteral("&Design Mode (beta)"), false);
    DesignMode1->setCheckable(true);
    Addressbar1 = addItem(View1, "Addressbar1", QStringLiteral("Address bar"));
    Addressbar1->setCheckable(true);
    NavigationBar1 = addItem(View1, "NavigationBar1", QStringLiteral("Navigation bar"));
    NavigationBar1->setCheckable(true);
    addSeparator(View1, true);
    InspectionTools1 = addItem(View1, "InspectionTools1", QStringLiteral("Inspection tools"));
    InspectionTools1->setCheckable(true);
}

void MainMenu::buildEncodingMenu() {
    Encoding1 = View1->addMenu(QStringLiteral("Encoding"));
    Encoding1->setObjectName(QStringLiteral("Encoding1"));
    Encoding1->menuAction()->setVisible(false);
    m_encodingGroup = new QActionGroup(Encoding1);
    struct Choice {
        const char* caption;
        QString charset;  // empty: a separator
    };
    const Choice choices[] = {
        {"Automatic", QString::fromUtf16(kAutomaticCharset)},
        {nullptr, QString()},
        {"Central European (ISO)", QStringLiteral("iso-8859-2")},
        {"Western European (ISO)", QStringLiteral("iso-8859-1")},
        {"Unicode (UTF-8)", QStringLiteral("utf-8")},
        {nullptr, QString()},
        {"Arabic (Windows)", QStringLiteral("windows-1256")},
        {"Baltic (Windows)", QStringLiteral("windows-1257")},
        {"Chinese Simplified (GB2312)", QStringLiteral("gb2312")},
        {"Chinese Traditional (Big5)", QStringLiteral("big5")},
        {"Greek (Windows)", QStringLiteral("windows-1253")},
        {"Korean (ISO)", QStringLiteral("iso-2022-kr")},
        {"Thai (Windows)", QStringLiteral("windows-874")},
        {"Turkish (Windows)", QStringLiteral("windows-1254")},
    };
    for (const Choice& choice : choices) {
        if (choice.caption == nullptr) {
            Encoding1->addSeparator();
            continue;
        }
        QAction* item = Encoding1->addAction(QString::fromLatin1(choice.caption));
        item->setCheckable(true);
        item->setData(choice.charset);
        m_encodingGroup->addAction(item);
        encodingItems.append(item);
    }
    markEncoding(encodingItems.first());
}

void MainMenu::buildTextSizeMenu() {
    Zoom1 = View1->addMenu(QStringLiteral("Text Size"));
    Zoom1->setObjectName(QStringLiteral("Zoom1"));
    Zoom1->menuAction()->setVisible(false);
    const std::pair<const char*, int> sizes[] = {
        {"Largest", 4}, {"Large", 3}, {"Medium", 2}, {"Small", 1}, {"Smallest", 0},
    };
    for (const auto& [caption, level] : sizes) {
        QAction* item = Zoom1->addAction(QString::fromLatin1(caption));
        item->setCheckable(true);
        item->setData(level);
        textSizeItems.append(item);
    }
}

void MainMenu::buildExtrasMenu(QMenuBar* bar) {
    Extras1 = addMenu(bar, "Extras1", QStringLiteral("&Extras"), false);
    AddHTML1 = addItem(Extras1, "AddHTML1", QStringLiteral("&Add HTML..."));
    Cookie1 = addItem(Extras1, "Cookie1", QStringLiteral("Cookies"));
    addSeparator(Extras1, true);
    InternetOptions1 = addItem(Extras1, "InternetOptions1", QStringLiteral("Internet &Options..."));
}

void MainMenu::EnableIfDocument(TWebbrowser* browser, QAction* item) {
    item->setEnabled(HasDocument(browser));
}

void MainMenu::updateFileMenu(TWebbrowser* current, bool workingOffline) {
    for (QAction* item : {Print1, PrintPreview1, PageSetup1, Properties1, SaveAs1}) {
        EnableIfDocument(current, item);
    }
    OfflineMode1->setChecked(workingOffline || IsGlobalOffline());
}

void MainMenu::updateEditMenu(TWebbrowser* current) {
    Copy1->setEnabled(IsDocCommandEnabled(current, QStringLiteral("Copy")));
    Paste1->setEnabled(IsDocCommandEnabled(current, QStringLiteral("Paste")));
    Cut1->setEnabled(IsDocCommandEnabled(current, QStringLiteral("Cut")));
    EnableIfDocument(current, SelectAll1);
    EnableIfDocument(current, Search1);
}

void MainMenu::updateViewMenu(TWebbrowser* current) {
    EnableIfDocument(current, DesignMode1);
    EnableIfDocument(current, Encoding1->menuAction());
    EnableIfDocument(current, ViewSource1);
    NavigationBar1->setChecked(!m_navigationBar->isHidden());
    Addressbar1->setChecked(!m_addressBar->isHidden());
}

void MainMenu::updateExtrasMenu(TWebbrowser* current) {
    for (QAction* item : {AddHTML1, InternetOptions1, Cookie1}) {
        EnableIfDocument(current, item);
    }
}

void MainMenu::updateTextSizeMenu(TWebbrowser* current) {
    if (!HasHTMLDocument(current)) {
        return;
    }
    const int level = GetTextSize(current);
    for (QAction* item : textSizeItems) {
        if (textSizeOf(item) == level) {
            item->setChecked(true);
        }
    }
}

QString MainMenu::charsetOf(const QAction* item) {
    return item->data().toString();
}

int MainMenu::textSizeOf(const QAction* item) {
    return item->data().toInt();
}

void MainMenu::markEncoding(QAction* item) {
    m_markedEncoding = item;
    item->setChecked(true);
}

void MainMenu::keepEncodingMark() {
    if (m_markedEncoding) {
        m_markedEncoding->setChecked(true);
    }
}

void MainMenu::markTextSize(QAction* item) {
    for (QAction* other : textSizeItems) {
        other->setChecked(other == item);
    }
}

}  // namespace larkspan
