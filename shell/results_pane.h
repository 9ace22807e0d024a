#pragma once

#include <QPlainTextEdit>
#include <QStringList>

namespace larkspan {

// The Results pane: the result lines of a run, one per line. It keeps the lines themselves, so
// what is saved is exactly what was captured, whatever the display widget does with the text.
// Read-only and disabled: the user can neither type in it nor select in it. Views of the same
// lines follow it through its signals.
class ResultsPane : public QPlainTextEdit {
    Q_OBJECT

public:
    static inline const QString kInitialLine =
        QStringLiteral("Scraping results, one page at a time...");

    explicit ResultsPane(QWidget* parent = nullptr);

    const QStringList& lines() const { return m_lines; }
    qsizetype lineCount() const { return m_lines.size(); }

    // The lines of a page at once.
    void appendLines(const QStringList& lines);
    void clearLines();

signals:
    // For the views that show the same lines.
    void linesAppended(const QStringList& lines);
    void linesCleared();

private:
    QStringList m_lines;
};

}  // namespace larkspan
