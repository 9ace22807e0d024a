#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QWidget;

namespace larkspan {

class TWebbrowser;

// The main menu: File, Edit, View and Extras with every item, shown or created hidden, the
// Encoding items as one radio group and the Text Size items. The update functions are the
// rules that set the items' enabled states and marks each time a menu opens; the window runs
// them and wires the items to its handlers.
class MainMenu : public QObject {
    Q_OBJECT

public:
    // The two bars are those the View menu shows and hides.
    MainMenu(QMenuBar* bar, QWidget* addressBar, QWidget* navigationBar);

    // The item is enabled while the browser shows a document of any kind.
    static void EnableIfDocument(TWebbrowser* browser, QAction* item);

    // "Offline Mode" is marked while the system is offline or the program works offline.
    void updateFileMenu(TWebbrowser* current, bool workingOffline);
    void updateEditMenu(TWebbrowser* current);
    void updateViewMenu(TWebbrowser* current);
    void updateExtrasMenu(TWebbrowser* current);
    // Marks the level the page shows, leaving the other marks as they are.
    void updateTextSizeMenu(TWebbrowser* current);

    // The charset an Encoding item applies, the level a Text Size item sets.
    static QString charsetOf(const QAction* item);
    static int textSizeOf(const QAction* item);
    // Marks the item, or puts the mark back where it was before a choice that did not apply.
    void markEncoding(QAction* item);
    void keepEncodingMark();
    // Marks only this item.
    void markTextSize(QAction* item);

    QMenu* File1;
    QAction* LarkspanStartPage1;
    QAction* Goto1;
    QAction* Open1;
    QAction* SaveAs1;
    QAction* Print1;
    QAction* PrintPreview1;
    QAction* PageSetup1;
    QAction* Properties1;
    QAction* OfflineMode1;
    QAction* Exit1;

    QMenu* Edit2;
    QAction* Cut1;
    QAction* Copy1;
    QAction* Paste1;
    QAction* SelectAll1;
    QAction* Search1;

    QMenu* View1;
    QAction* ViewSource1;
    QMenu* Encoding1;
    QList<QAction*> encodingItems;
    QMenu* Zoom1;
    QList<QAction*> textSizeItems;
    QAction* DesignMode1;
    QAction* Addressbar1;
    QAction* NavigationBar1;
    // Shows the tabs and the menu of the inspection tools, hidden at first.
    QAction* InspectionTools1;

    QMenu* Extras1;
    QAction* AddHTML1;
    QAction* Cookie1;
    QAction* InternetOptions1;

private:
    void buildFileMenu(QMenuBar* bar);
    void buildEditMenu(QMenuBar* bar);
    void buildViewMenu(QMenuBar* bar);
    void buildExtrasMenu(QMenuBar* bar);
    void buildEncodingMenu();
    void buildTextSizeMenu();

    QWidget* m_addressBar;
    QWidget* m_navigationBar;
    QActionGroup* m_encodingGroup = nullptr;
    QPointer<QAction> m_markedEncoding;
};

}  // namespace larkspan
