#pragma once

#include <QString>

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

    struct SaveRequest {
        QString title;
        QString filter;       // "Description (*.ext);;..."
        QString initialPath;  // folder and name offered
    };
    // The chosen file name, or empty when the user cancels. An existing file is not questioned.
    virtual QString saveFileName(QWidget* parent, const SaveRequest& request) = 0;
};

// The real boxes and the platform's save dialog.
class ModalDialogs : public UserDialogs {
public:
    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    QString saveFileName(QWidget* parent, const SaveRequest& request) override;
};

}  // namespace larkspan
