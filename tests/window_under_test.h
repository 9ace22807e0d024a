#pragma once

#include "journal/run_journal.h"
#include "shell/split_screen_setting.h"
#include "shell/tfrm_my_browser.h"
#include "shell/user_dialogs.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

class QTabWidget;

namespace larkspan::test {

// Answers the window's dialogs at once and keeps what they were asked to show.
class RecordingDialogs : public UserDialogs {
public:
    void information(QWidget*, const QString& text) override { messages.append(text); }
    void error(QWidget*, const QString& text) override { errors.append(text); }
    bool question(QWidget*, const QString& text) override;
    QString saveFileName(QWidget*, const SaveRequest& request, QString* chosenFilter) override;
    QString openFileName(QWidget*, const QString& title, const QString& filter) override;
    bool print(QWidget*, QPrinter& printer) override;
    bool pageSetup(QWidget*, QPrinter& printer) override;
    void printPreview(QWidget*, QPrinter& printer,
                      const std::function<void(QPrinter*)>& paint) override;

    QStringList messages;
    QStringList errors;
    QList<SaveRequest> requests;
    // The file names the user picks in turn; none left means the user cancels.
    QStringList answers;
    // The file types chosen with them in turn; none left means the first type.
    QStringList chosenFilters;
    QStringList questions;
    // The answers to the questions in turn; none left means No.
    QList<bool> questionAnswers;
    // Where the print dialog and the preview send the pages as PDF; empty: the user cancels.
    QString printFile;
};

// A main window with a setting file and a run journal of its own in a temporary folder, shown.
class WindowUnderTest {
public:
    // `setting` is the setting file's text at start-up; null for no file. The journal is the
    // one given, or a new one.
    explicit WindowUnderTest(const QByteArray& setting = QByteArray(),
                             const QString& journalPath = QString());

    template <typename T>
    T* child(const char* name) const {
        return window.findChild<T*>(QLatin1String(name));
    }

    QTemporaryDir dir;
    const QString settingFile;
    RecordingDialogs dialogs;
    SplitScreenSetting splitSetting;
    RunJournal journal;
    TfrmMyBrowser window;
};

// The window's browser tabs, their captions in order, and the browser of one of them.
QTabWidget* pageControl(const WindowUnderTest& under);
QStringList tabCaptions(const WindowUnderTest& under);
TWebbrowser* browserAt(const WindowUnderTest& under, int index);
// Navigates the browser and waits until its page is complete.
bool load(TWebbrowser* browser, const QUrl& url);
// The text of the element of class "marker" of the browser's page; "none" without one.
QString markerOf(TWebbrowser* browser);
// Runs the menu item or tab menu item of that object name.
void trigger(const WindowUnderTest& under, const char* actionName);

QByteArray fileBytes(const QString& path);
QByteArray writeFile(const QString& path, const QByteArray& bytes);

}  // namespace larkspan::test
