#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace larkspan {

// The modal questions and messages of the window, behind one seam so tests can answer them.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A plain message box: the program's title, the text, an OK button.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // The default error box: the program's title, an error icon, the text, an OK button.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;

    struct SaveRequest {
        QString title;
        QString filter;       // "Description (*.ext);;..."
        QString initialPath;  // folder and name offered
    };
    // The chosen file name, or empty when the user cancels. An existing file is not questioned.
    // When asked, `chosenFilter` gets the file type the user chose.
    virtual QString saveFileName(QWidget* parent, const SaveRequest& request,
                                 QString* chosenFilter) = 0;
    // An existing file chosen to be opened, or empty when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;

    // The print dialog and the page setup dialog on the printer, which keeps what the user
    // chose; false when the user cancels.
    virtual bool print(QWidget* parent, QPrinter& printer) = 0;
    virtual bool pageSetup(QWidget* parent, QPrinter& printer) = 0;
    // The preview of what `paint` draws on a printer, until the user closes it.
    virtual void printPreview(QWidget* parent, QPrinter& printer,
                              const std::function<void(QPrinter*)>& paint) = 0;
};

// The real boxes and the platform's file and printing dialogs.
class ModalDialogs : public UserDialogs {
public:
    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    QString saveFileName(QWidget* parent, const SaveRequest& request,
                         QString* chosenFilter) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    bool pageSetup(QWidget* parent, QPrinter& printer) override;
    void printPreview(QWidget* parent, QPrinter& printer,
                      const std::function<void(QPrinter*)>& paint) override;
};

}  // namespace larkspan
