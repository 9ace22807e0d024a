#pragma once

#include <functional>

class QEvent;
class QObject;

namespace larkspan {

class TWebbrowser;

// The application-wide hook's rules for events that go to a page: right-button presses never
// reach the current page while "no popup menu" is checked; close requests never close a page's
// widgets, while the windows the engine opens over a page (menus, lists, tooltips) close as
// usual; the keys a page field expects (Tab, Enter, Backspace, Delete, the arrows, Ctrl
// combinations) go to the page before any shortcut of the program. It looks at the event's type
// first, so it costs next to nothing for the events it leaves alone.
class PageMessageHook {
public:
    PageMessageHook(std::function<TWebbrowser*()> currentBrowser,
                    std::function<bool()> noPopupMenu);

    // True when the event is to be dropped.
    bool filter(QObject* receiver, QEvent* event) const;

private:
    std::function<TWebbrowser*()> m_currentBrowser;
    std::function<bool()> m_noPopupMenu;
};

}  // namespace larkspan
