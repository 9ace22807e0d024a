#pragma once

#include <QDialog>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace larkspan {

// "Add HTML": a text box of markup and three buttons. "Add HTML Code to the Document" and "Load
// HTML Code (replace current Document)" hand the text to the window's actions and close the
// dialog; "Cancel", the default button, only closes it. Every opening starts with the default
// text.
class TfrmAddHTML : public QDialog {
    Q_OBJECT

public:
    using Action = std::function<void(const QString& html)>;

    static inline const QString kDefaultText =
        QStringLiteral("<html><h1>Hello World!</h1></html>\n");

    // `addToDocument` and `replaceDocument` run with the whole text, lines ended by CR LF; they
    // report their own errors, since they run inside the dialog's event loop.
    TfrmAddHTML(Action addToDocument, Action replaceDocument, QWidget* parent);

    // The text as the actions get it.
    QString html() const;

private:
    void runAndClose(const Action& action);
    void Button2Click();
    void Button3Click();

    Action m_addToDocument;
    Action m_replaceDocument;
    QPlainTextEdit* Memo1;
    QPushButton* Button3;
    QPushButton* Button2;
    QPushButton* Button1;
};

}  // namespace larkspan
