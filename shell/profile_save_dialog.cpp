#include "shell/profile_save_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace larkspan {

ProfileSaveDialog::ProfileSaveDialog(const QString& name, const QString& matches, QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit(name, this)), m_matches(new QLineEdit(matches, this)) {
    setObjectName(QStringLiteral("ProfileSaveDialog"));
    setWindowTitle(QStringLiteral("Save as profile"));
    m_name->setObjectName(QStringLiteral("edProfileName"));
    m_matches->setObjectName(QStringLiteral("edProfileMatches"));
    m_matches->setPlaceholderText(QStringLiteral("https://www.example.com/search*"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A profile needs a name.
    connect(m_name, &QLineEdit::textChanged, buttons, [buttons](const QString& text) {
        buttons->button(QDialogButtonBox::Save)->setEnabled(!text.trimmed().isEmpty());
    });
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Name:"), m_name);
    layout->addRow(QStringLiteral("For the addresses:"), m_matches);
    layout->addRow(buttons);
}

QString ProfileSaveDialog::name() const {
    return m_name->text().trimmed();
}

QString ProfileSaveDialog::matches() const {
    return m_matches->text().trimmed();
}

}  // namespace larkspan
