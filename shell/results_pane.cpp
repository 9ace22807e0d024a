#include "shell/results_pane.h"

namespace larkspan {

ResultsPane::ResultsPane(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("mmResults"));
    setReadOnly(true);
    setEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    appendLine(kInitialLine);
}

void ResultsPane::appendLine(const QString& line) {
    m_lines.append(line);
    appendPlainText(line);
}

void ResultsPane::clearLines() {
    m_lines.clear();
    clear();
}

}  // namespace larkspan
