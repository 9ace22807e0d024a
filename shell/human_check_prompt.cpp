#include "shell/human_check_prompt.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace larkspan {

HumanCheckPrompt::HumanCheckPrompt(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HumanCheckPrompt"));
    setWindowTitle(QStringLiteral("A human check"));
    setModal(false);
    auto* message =
        new QLabel(text + QStringLiteral(".\nPass it in the page, then press Continue."), this);
    message->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* proceed =
        buttons->addButton(QStringLiteral("Continue"), QDialogButtonBox::AcceptRole);
    proceed->setObjectName(QStringLiteral("btnHumanCheckContinue"));
    QPushButton* stop = buttons->addButton(QStringLiteral("STOP!"), QDialogButtonBox::RejectRole);
    stop->setObjectName(QStringLiteral("btnHumanCheckStop"));
    // The page keeps the keyboard: Enter there must not answer for the user.
    proceed->setAutoDefault(false);
    stop->setAutoDefault(false);
    connect(proceed, &QPushButton::clicked, this, [this] {
        m_continued = true;
        emit answered();
    });
    connect(stop, &QPushButton::clicked, this, &HumanCheckPrompt::answered);
    connect(this, &QDialog::rejected, this, &HumanCheckPrompt::answered);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(buttons);
}

}  // namespace larkspan
