#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace larkspan {

// A multi-line text box that gives back exactly the text it was given. The display widget
// folds line ends and turns non-breaking spaces into blanks when asked for its text; what the
// capture parses must not change on its way through the screen.
class TextPanel : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextPanel(QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    void setText(const QString& text);

private:
    QString m_text;
};

}  // namespace larkspan
