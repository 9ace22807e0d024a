#include "shell/user_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace larkspan {
namespace {

const QString kTitle = QStringLiteral("Larkspan");

}  // namespace

void ModalDialogs::information(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

void ModalDialogs::error(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, kTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

QString ModalDialogs::saveFileName(QWidget* parent, const SaveRequest& request) {
    return QFileDialog::getSaveFileName(parent, request.title, request.initialPath, request.filter,
                                        nullptr, QFileDialog::DontConfirmOverwrite);
}

}  // namespace larkspan
