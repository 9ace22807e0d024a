#pragma once

#include <QPointer>
#include <QString>

class QWidget;

namespace larkspan {

class TfrmSplashScreen;

// The small window that says what a wait is for, shown for exactly as long as this object
// lives, also when the wait ends by an error.
class WaitWindow {
public:
    WaitWindow(QWidget* owner, const QString& message);
    ~WaitWindow();
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

private:
    QPointer<TfrmSplashScreen> m_window;
};

}  // namespace larkspan
