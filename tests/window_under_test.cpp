#include "window_under_test.h"

#include "browser/twebbrowser.h"
#include "browser_test_helpers.h"

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QTabWidget>

namespace larkspan::test {
namespace {

QString settingFileWith(const QString& path, const QByteArray& text) {
    if (!text.isNull()) {
        writeFile(path, text);
    }
    return path;
}

void printToFile(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

}  // namespace

bool RecordingDialogs::question(QWidget*, const QString& text) {
    questions.append(text);
    return !questionAnswers.isEmpty() && questionAnswers.takeFirst();
}

QString RecordingDialogs::saveFileName(QWidget*, const SaveRequest& request,
                                       QString* chosenFilter) {
    requests.append(request);
    if (chosenFilter != nullptr) {
        *chosenFilter = chosenFilters.isEmpty() ? request.filter.section(QStringLiteral(";;"), 0, 0)
                                                : chosenFilters.takeFirst();
    }
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

QString RecordingDialogs::openFileName(QWidget*, const QString& title, const QString& filter) {
    requests.append({title, filter, QString()});
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

bool RecordingDialogs::print(QWidget*, QPrinter& printer) {
    if (printFile.isEmpty()) {
        return false;
    }
    printToFile(printer, printFile);
    return true;
}

bool RecordingDialogs::pageSetup(QWidget*, QPrinter&) {
    return true;
}

void RecordingDialogs::printPreview(QWidget*, QPrinter& printer,
                                    const std::function<void(QPrinter*)>& paint) {
    printToFile(printer, printFile);
    paint(&printer);
}

WindowUnderTest::WindowUnderTest(const QByteArray& setting, const QString& journalPath)
    : settingFile(settingFileWith(dir.filePath(QStringLiteral("main.ini")), setting)),
      splitSetting(settingFile),
      journal(journalPath.isEmpty() ? dir.filePath(QStringLiteral("journal.sqlite")) : journalPath),
      window(dialogs, splitSetting, &journal) {
    window.show();
    // Active, as the window a person works in is: without a window manager nobody else
    // activates it. Asked only; tests that need it wait for it.
    window.activateWindow();
}

QTabWidget* pageControl(const WindowUnderTest& under) {
    return under.child<QTabWidget>("PageControl");
}

QStringList tabCaptions(const WindowUnderTest& under) {
    QStringList captions;
    for (int i = 0; i < pageControl(under)->count(); ++i) {
        captions.append(pageControl(under)->tabText(i));
    }
    return captions;
}

TWebbrowser* browserAt(const WindowUnderTest& under, int index) {
    QWidget* page = pageControl(under)->widget(index);
    return page ? page->findChild<TWebbrowser*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool load(TWebbrowser* browser, const QUrl& url) {
    return browser != nullptr && loadPage(*browser, url);
}

QString markerOf(TWebbrowser* browser) {
    const std::shared_ptr<dom::Document> document = browser->Document();
    if (!document) {
        return QStringLiteral("no document");
    }
    const std::shared_ptr<dom::Element> marker =
        elementByClass(*document, QStringLiteral("marker"));
    return marker ? marker->innerText() : QStringLiteral("none");
}

void trigger(const WindowUnderTest& under, const char* actionName) {
    under.child<QAction>(actionName)->trigger();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QByteArray writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return bytes;
}

}  // namespace larkspan::test
