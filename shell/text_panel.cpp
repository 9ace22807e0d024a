#include "shell/text_panel.h"

namespace larkspan {

TextPanel::TextPanel(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

void TextPanel::setText(const QString& text) {
    m_text = text;
    setPlainText(text);
}

}  // namespace larkspan
