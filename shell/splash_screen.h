#pragma once

#include <QWidget>

class QLabel;

namespace larkspan {

// The small borderless window with the program's picture and one line of text. Created hidden
// at start-up and, one instance per wait, as the window that says what the program waits for.
class TfrmSplashScreen : public QWidget {
    Q_OBJECT

public:
    explicit TfrmSplashScreen(QWidget* parent = nullptr);

    void setMessage(const QString& message);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Image1 = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblMessages = nullptr;
};

}  // namespace larkspan
