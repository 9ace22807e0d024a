#include "browser/wb_funcs.h"

#include "browser/browser_page.h"
#include "browser/document_bytes.h"
#include "browser/dom.h"
#include "browser/engine_settings_dialog.h"
#include "browser/local_wait.h"
#include "browser/twebbrowser.h"
#include "browser/web_document.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPrinter>
#include <QStringDecoder>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <array>
#include <climits>
#include <cmath>
#include <stdexcept>

namespace larkspan {
namespace {

using namespace std::chrono_literals;

// The zoom of each text size level, smallest to largest.
constexpr std::array<double, 5> kTextSizeZoom = {0.6, 0.8, 1.0, 1.2, 1.5};

// The engine reports a save request shortly after being asked; one that has not come by then
// will not come.
constexpr std::chrono::milliseconds kSaveStartTimeLimit = 10s;

// Engine errors of these operations are not the user's concern: the command does nothing.
template <typename Operation>
void ignoringEngineErrors(Operation&& operation) {
    try {
        operation();
    } catch (const dom::DomError&) {
    }
}

template <typename Command>
void onHtmlDocument(TWebbrowser* B, Command&& command) {
    ignoringEngineErrors([&] {
        if (HasHTMLDocument(B)) {
            command(*B);
        }
    });
}

template <typename Command>
void onDocument(TWebbrowser* B, Command&& command) {
    ignoringEngineErrors([&] {
        if (HasDocument(B)) {
            command(*B);
        }
    });
}

QWebEngineDownloadRequest::SavePageFormat saveFormatFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("mht") || suffix == QLatin1String("mhtml")
               ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
               : QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
}

QString suggestedSaveName(TWebbrowser& B) {
    const QString title = B.LocationName();
    QString name = title.isEmpty() ? QStringLiteral("page") : title;
    // Characters that no file system takes in a name.
    for (const QChar reserved : {u'/', u'\\', u':', u'*', u'?', u'"', u'<', u'>', u'|'}) {
        name.replace(reserved, u'_');
    }
    return name + QStringLiteral(".html");
}

// Saves and waits until the engine says it has finished. The engine also reports a save into a
// folder it cannot write to as finished, so only a file that is there counts.
bool saveAndWait(TWebbrowser& B, const QString& path) {
    QWebEnginePage* page = B.enginePage();
    browser::LocalWait wait(&B);
    wait.setTimeLimit(kSaveStartTimeLimit);
    QObject::connect(page->profile(), &QWebEngineProfile::downloadRequested, &wait,
                     [page, &wait](QWebEngineDownloadRequest* request) {
                         if (request->page() != page || !request->isSavePageDownload()) {
                             return;
                         }
                         wait.clearTimeLimit();
                         if (request->isFinished()) {
                             wait.finish();
                         }
                         QObject::connect(request, &QWebEngineDownloadRequest::isFinishedChanged,
                                          &wait, &browser::LocalWait::finish);
                     });
    page->save(path, saveFormatFor(path));
    return wait.exec() == browser::LocalWait::Outcome::Finished && QFile::exists(path);
}

bool printAndWait(TWebbrowser& B, QPrinter& printer) {
    browser::LocalWait wait(&B);
    bool printed = false;
    QObject::connect(B.engineView(), &QWebEngineView::printFinished, &wait,
                     [&wait, &printed](bool success) {
                         printed = success;
                         wait.finish();
                     });
    B.engineView()->print(&printer);
    return wait.exec() == browser::LocalWait::Outcome::Finished && printed;
}

}  // namespace

bool HasHTMLDocument(TWebbrowser* B) {
    if (B == nullptr) {
        return false;
    }
    const auto document = B->Document();
    return document && document->isHtmlDocument();
}

bool HasDocument(TWebbrowser* B) {
    return B != nullptr && B->Document() != nullptr;
}

bool IsDocCommandEnabled(TWebbrowser* B, const QString& Name) {
    if (!HasHTMLDocument(B)) {
        return false;
    }
    const auto document = B->webDocument();
    return document && document->commandEnabled(Name);
}

void ExecDocumentCommand(TWebbrowser* B, DocumentCommand command) {
    static constexpr std::array<QWebEnginePage::WebAction, 4> kActions = {
        QWebEnginePage::Copy, QWebEnginePage::Cut, QWebEnginePage::Paste,
        QWebEnginePage::SelectAll};
    onDocument(B, [command](TWebbrowser& browser) {
        // The engine runs editing commands in the page that has the focus.
        browser.engineView()->setFocus();
        browser.enginePage()->triggerAction(kActions.at(static_cast<std::size_t>(command)));
    });
}

void BrowserCopy(TWebbrowser* B) {
    ExecDocumentCommand(B, DocumentCommand::Copy);
}

void BrowserSelectAll(TWebbrowser* B) {
    ExecDocumentCommand(B, DocumentCommand::SelectAll);
}

bool WaitForComplete(TWebbrowser* B) {
    return B != nullptr && B->waitUntilComplete();
}

void NavigateAndWait(TWebbrowser* B, const QUrl& URL) {
    if (B == nullptr) {
        return;
    }
    B->NavigateNoHistory(URL);
    WaitForComplete(B);
}

void FocusDocument(TWebbrowser* B) {
    if (HasHTMLDocument(B)) {
        B->engineView()->setFocus();
    }
}

void BrowserGoBack(TWebbrowser* B) {
    onHtmlDocument(B, [](TWebbrowser& browser) { browser.GoBack(); });
}

void BrowserGoForward(TWebbrowser* B) {
    onHtmlDocument(B, [](TWebbrowser& browser) { browser.GoForward(); });
}

void BrowserStop(TWebbrowser* B) {
    onHtmlDocument(B, [](TWebbrowser& browser) { browser.Stop(); });
}

void BrowserRefresh(TWebbrowser* B) {
    onHtmlDocument(B, [](TWebbrowser& browser) {
        if (QApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier)) {
            browser.Refresh2(TWebbrowser::RefreshCompletely);
        } else {
            browser.Refresh();
        }
    });
}

void ScrollToTop(TWebbrowser* B) {
    onHtmlDocument(B, [](TWebbrowser& browser) { browser.ScrollTo(0, 0); });
}

void ScrollToBottom(TWebbrowser* B) {
    onHtmlDocument(B, [](TWebbrowser& browser) { browser.ScrollTo(0, INT_MAX); });
}

void BrowserSaveAs(TWebbrowser* B, const std::function<QString(const QString&)>& askFileName) {
    if (!HasHTMLDocument(B) || B->Busy()) {
        return;
    }
    const QString path = askFileName(suggestedSaveName(*B));
    if (path.isEmpty()) {
        return;
    }
    if (!saveAndWait(*B, path)) {
        throw std::runtime_error(
            QStringLiteral("ERROR: Unable to show Save As dialog. \rSaveError: %1 was not written.")
                .arg(QDir::toNativeSeparators(path))
                .toStdString());
    }
}

PrintOutcome BrowserPrint(TWebbrowser* B, QPrinter& printer, const PrinterQuestion& askUser) {
    PrintOutcome outcome = PrintOutcome::NotPrinted;
    onHtmlDocument(B, [&](TWebbrowser& browser) {
        if (!askUser(printer)) {
            outcome = PrintOutcome::Canceled;
            return;
        }
        outcome = printAndWait(browser, printer) ? PrintOutcome::Printed : PrintOutcome::Failed;
    });
    return outcome;
}

void BrowserPrintPreview(TWebbrowser* B, QPrinter& printer,
                         const std::function<void(QPrinter&, const PagePainter&)>& showPreview) {
    onHtmlDocument(B, [&](TWebbrowser& browser) {
        const QPointer<TWebbrowser> shown(&browser);
        showPreview(printer, [shown](QPrinter* target) {
            if (shown) {
                printAndWait(*shown, *target);
            }
        });
    });
}

void BrowserPageSetup(TWebbrowser* B, QPrinter& printer, const PrinterQuestion& askUser) {
    onHtmlDocument(B, [&](TWebbrowser&) { askUser(printer); });
}

void BrowserFind(TWebbrowser* B) {
    onDocument(B, [](TWebbrowser& browser) { browser.ShowFindBar(); });
}

void BrowserViewSource(TWebbrowser* B) {
    onDocument(B, [](TWebbrowser& browser) {
        QWebEnginePage* page = browser.enginePage();
        const auto viewSource = [page] { page->triggerAction(QWebEnginePage::ViewSource); };
        if (!browser.Busy()) {
            viewSource();
            return;
        }
        // A page still loading gets no new window, so the source is asked for once the load
        // has ended; from the event loop, after everyone waiting for that end has gone on.
        QObject::connect(&browser, &TWebbrowser::readyStateChanged, page, viewSource,
                         Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    });
}

void BrowserOptions(TWebbrowser* B, QWidget* parent) {
    onDocument(B, [parent](TWebbrowser& browser) {
        browser::EngineSettingsDialog dialog(browser.enginePage()->profile()->settings(), parent);
        dialog.exec();
    });
}

void SetTextSize(TWebbrowser* B, int Level) {
    if (HasHTMLDocument(B)) {
        B->enginePage()->setZoomFactor(kTextSizeZoom.at(static_cast<std::size_t>(Level)));
    }
}

int GetTextSize(TWebbrowser* B) {
    if (!HasHTMLDocument(B)) {
        return 0;
    }
    const double zoom = B->enginePage()->zoomFactor();
    int nearest = 0;
    for (int level = 1; level < int(kTextSizeZoom.size()); ++level) {
        if (std::abs(kTextSizeZoom.at(level) - zoom) < std::abs(kTextSizeZoom.at(nearest) - zoom)) {
            nearest = level;
        }
    }
    return nearest;
}

bool SetDocumentCharset(TWebbrowser* B, const QString& Name) {
    try {
        if (!HasHTMLDocument(B)) {
            return false;
        }
        const auto document = B->webDocument();
        if (!document) {
            return false;
        }
        if (Name == QStringView(kAutomaticCharset) && !B->writtenHTML()) {
            B->Refresh();
            return true;
        }
        // The program's own documents are UTF-8 text to begin with.
        QStringDecoder decoder(
            Name == QStringView(kAutomaticCharset) ? "utf-8" : Name.toLatin1().constData());
        if (!decoder.isValid()) {
            return false;
        }
        const std::optional<QByteArray> bytes = browser::documentBytes(*B, *document);
        if (!bytes) {
            return false;
        }
        // Written as text, so the charset the markup declares no longer counts.
        document->write(decoder.decode(*bytes));
        return true;
    } catch (const dom::DomError&) {
        return false;
    }
}

QString GetDocumentCookies(TWebbrowser* B) {
    if (!HasHTMLDocument(B)) {
        return QString();
    }
    const auto document = B->webDocument();
    return document ? document->cookie() : QString();
}

}  // namespace larkspan
