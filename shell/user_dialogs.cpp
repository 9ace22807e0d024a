#include "shell/user_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

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

bool ModalDialogs::question(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, kTitle, text) == QMessageBox::Yes;
}

QString ModalDialogs::saveFileName(QWidget* parent, const SaveRequest& request,
                                   QString* chosenFilter) {
    return QFileDialog::getSaveFileName(parent, request.title, request.initialPath, request.filter,
                                        chosenFilter, QFileDialog::DontConfirmOverwrite);
}

QString ModalDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

bool ModalDialogs::print(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ModalDialogs::pageSetup(QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void ModalDialogs::printPreview(QWidget* parent, QPrinter& printer,
                                const std::function<void(QPrinter*)>& paint) {
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    dialog.exec();
}

}  // namespace larkspan
