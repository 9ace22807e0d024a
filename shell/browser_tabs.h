#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QMenu;
class QTabWidget;
class QWidget;

namespace larkspan {

class TWebbrowser;

// The browser tabs of the main window, `PageControl`: the capture tab first, the tabs made at
// run time after it, each inserted directly after the active tab, and the hidden "Parsing Info"
// page always last. It knows the current browser, makes, closes and duplicates tabs, and
// offers the right-click tab menu `PCPopup`. Switches the user makes in the tab strip are told
// apart from those made by the program.
class BrowserTabs : public QObject {
    Q_OBJECT

public:
    // The caption of every tab made at run time.
    static inline const QString kNewTabCaption = QStringLiteral("New Browser");

    // Takes the capture tab and the "Parsing Info" page into a new tab control.
    BrowserTabs(QWidget* captureSheet, QWidget* parsingInfo, QWidget* parent);

    QTabWidget* pageControl() const { return PageControl; }
    // The "Parsing Info" tab is hidden unless the inspection tools are shown.
    void setParsingInfoShown(bool shown);

    // The active tab's browser; on a page without one, the browser the user left last.
    TWebbrowser* GetCurrentWB() const;
    // The browser of a tab page, or null for a page without one.
    static TWebbrowser* browserOf(QWidget* page);

    // Inserts a tab directly after the active one and makes it active; its browser is silent
    // and, when `url` is not blank, has loaded that address. Null when the tab could not be made
    // or was closed while its page loaded.
    QWidget* CreateBrowserTab(const QString& url, const QString& caption);
    // Closes the active tab unless it is the capture tab; the next shown tab becomes active,
    // the capture tab after the last one.
    void CloseTab1Click();
    // Copies the current browser into a new tab directly after the active one: the same address,
    // then the source's body as it is now. Raises dom::DomError when the source's body cannot be
    // copied; the new tab then stays where it was made.
    void DuplicateTab1Click();

    // The browser of the page the user last switched away from; the capture tab's at start.
    // Emptied when a tab is closed.
    QPointer<TWebbrowser> FPrevBrowser;

    QMenu* PCPopup = nullptr;
    QAction* CloseTab1 = nullptr;
    QAction* DuplicateTab1 = nullptr;

signals:
    // A browser tab has been made; its browser has not navigated yet.
    void browserCreated(TWebbrowser* browser);
    // The user has switched tabs in the tab strip, by mouse or keyboard.
    void userSwitchedTab();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleCurrentChanged();
    void PageControlChanging(QWidget* leaving);
    bool PageControlMouseDown(const QPoint& position);
    // Makes a page active without it counting as the user's switch.
    void activateFromCode(int index);
    // The next browser tab shown, wrapping around.
    int nextShownTab(int index) const;
    int parsingInfoIndex() const;

    QTabWidget* PageControl;
    QWidget* m_parsingInfo;
    // The page that was active before the current change.
    QPointer<QWidget> m_activePage;
    bool m_changingFromCode = false;
};

}  // namespace larkspan
