#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace larkspan::browser {

// The bar under a page for finding text in it: a text box, Previous and Next, the count of
// matches, and a close button. Enter finds the next match, Shift+Enter the previous one,
// Escape closes the bar.
class FindBar : public QWidget {
    Q_OBJECT

public:
    explicit FindBar(QWidget* parent = nullptr);

    // Shows the bar with its text selected, ready for typing.
    void open();
    // The outcome of the last search: the match on show (from 1) among all matches.
    void showResult(int activeMatch, int numberOfMatches);

signals:
    void findRequested(const QString& text, bool backward);
    // The bar has been closed; the page should drop its marks.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void find(bool backward);
    void close();

    QLineEdit* m_text;
    QLabel* m_result;
};

}  // namespace larkspan::browser
