#pragma once

#include <QDialog>

namespace larkspan {

// Tells the user that the capture tab's page asks whether a human is there, without covering
// the page: the user passes the check in the page, then presses "Continue", or "STOP!" to end
// the run. Not modal, so the page takes clicks and keys meanwhile.
class HumanCheckPrompt : public QDialog {
    Q_OBJECT

public:
    HumanCheckPrompt(const QString& text, QWidget* parent);

    // Whether "Continue" was pressed.
    bool continued() const { return m_continued; }

signals:
    void answered();

private:
    bool m_continued = false;
};

}  // namespace larkspan
