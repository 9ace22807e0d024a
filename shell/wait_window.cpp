#include "shell/wait_window.h"

#include "shell/splash_screen.h"

#include <QCoreApplication>

namespace larkspan {

WaitWindow::WaitWindow(QWidget* owner, const QString& message)
    : m_window(new TfrmSplashScreen(owner)) {
    m_window->setMessage(message);
    m_window->show();
    // Once, so the window is painted before the wait begins.
    QCoreApplication::processEvents();
}

WaitWindow::~WaitWindow() {
    // The owner may have gone during the wait, taking the window with it.
    if (m_window) {
        m_window->setMessage(QStringLiteral("Fully loaded"));
        m_window->hide();
        delete m_window;
    }
}

}  // namespace larkspan
