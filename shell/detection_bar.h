#pragma once

#include <QWidget>

class QComboBox;
class QLabel;

namespace larkspan {

// The bar above the Table while it shows what "Detect listings" found: what was found, a choice
// between the group found and its alternatives, "Save as profile..." and "Close".
class DetectionBar : public QWidget {
    Q_OBJECT

public:
    explicit DetectionBar(QWidget* parent = nullptr);

    // Shows the summary of group `group` of `groups`.
    void showGroup(const QString& summary, int groups, int group);
    QString summary() const;

signals:
    void groupChosen(int index);
    void saveRequested();
    void closeRequested();

private:
    QLabel* m_summary;
    QComboBox* m_groups;
};

}  // namespace larkspan
