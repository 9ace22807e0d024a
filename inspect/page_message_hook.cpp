#include "inspect/page_message_hook.h"

#include "browser/twebbrowser.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace larkspan {
namespace {

bool isInside(QObject* receiver, const QWidget* browser) {
    const auto* widget = qobject_cast<QWidget*>(receiver);
    return browser != nullptr && widget != nullptr && browser->isAncestorOf(widget);
}

// A browser's own widgets, not the windows the engine opens over it: its context menu, select
// lists, tooltips and dialogs close through close requests too.
bool isBrowserWidget(QObject* receiver) {
    const auto* widget = qobject_cast<QWidget*>(receiver);
    if (widget != nullptr && widget->isWindow()) {
        return false;
    }
    for (QObject* object = receiver; object != nullptr; object = object->parent()) {
        if (qobject_cast<TWebbrowser*>(object) != nullptr) {
            return true;
        }
    }
    return false;
}

bool isPageKey(const QKeyEvent& key) {
    if (key.modifiers().testFlag(Qt::ControlModifier)) {
        return true;
    }
    switch (key.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
            return true;
        default:
            return false;
    }
}

}  // namespace

PageMessageHook::PageMessageHook(std::function<TWebbrowser*()> currentBrowser,
                                 std::function<bool()> noPopupMenu)
    : m_currentBrowser(std::move(currentBrowser)), m_noPopupMenu(std::move(noPopupMenu)) {}

bool PageMessageHook::filter(QObject* receiver, QEvent* event) const {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton &&
                   m_noPopupMenu() && isInside(receiver, m_currentBrowser());
        case QEvent::ContextMenu:
            return m_noPopupMenu() && isInside(receiver, m_currentBrowser());
        case QEvent::Close:
            // Refused, so the page's widgets stay; a page that closes its own window is
            // handled by its browser.
            if (!isBrowserWidget(receiver)) {
                return false;
            }
            event->ignore();
            return true;
        case QEvent::ShortcutOverride:
            // Taken by the page: no shortcut of the program fires, and the key press follows.
            if (isPageKey(*static_cast<QKeyEvent*>(event)) &&
                isInside(receiver, m_currentBrowser())) {
                event->accept();
            }
            return false;
        default:
            return false;
    }
}

}  // namespace larkspan
