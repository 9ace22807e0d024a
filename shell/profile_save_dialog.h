#pragma once

#include <QDialog>

class QLineEdit;

namespace larkspan {

// Asks for the name a detected profile is saved under and the address pattern it matches,
// offering the current site's.
class ProfileSaveDialog : public QDialog {
    Q_OBJECT

public:
    ProfileSaveDialog(const QString& name, const QString& matches, QWidget* parent = nullptr);

    QString name() const;
    // Empty for a profile used only when chosen.
    QString matches() const;

private:
    QLineEdit* m_name;
    QLineEdit* m_matches;
};

}  // namespace larkspan
