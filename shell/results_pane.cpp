#include "shell/results_pane.h"

namespace larkspan {

ResultsPane::ResultsPane(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("mmResults"));
    setReadOnly(true);
    setEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    appendLines({kInitialLine});
}

void ResultsPane::appendLines(const QStringList& lines) {
    if (lines.isEmpty()) {
        return;
    }
    m_lines += lines;
    appendPlainText(lines.join(u'\n'));
    emit linesAppended(lines);
}

void ResultsPane::clearLines() {
    m_lines.clear();
    clear();
    emit linesCleared();
}

}  // namespace larkspan
