#pragma once

#include <QGroupBox>
#include <QString>

class QLineEdit;
class QToolButton;

namespace larkspan {

// The group "Search && Highlight": the text box and its button. Enter in the box is taken, as a
// press of the button.
class SearchBox : public QGroupBox {
    Q_OBJECT

public:
    explicit SearchBox(QWidget* parent = nullptr);

    QString text() const;

signals:
    // The button was pressed, or Enter typed in the box.
    void searchRequested();

private:
    QLineEdit* edSearchAndHighlight;
    QToolButton* btnSearchAndHighlight;
};

}  // namespace larkspan
