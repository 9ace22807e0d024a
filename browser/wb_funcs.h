#pragma once

// The browser operations the window's commands run on a browser. Each checks first what it
// needs ("HTML document": the browser shows an HTML document; "document": it shows any) and
// otherwise does nothing. Engine errors are swallowed where the user need not hear of them;
// where a function says they reach the caller, they are raised as exceptions.

#include <QString>
#include <QUrl>

#include <functional>

class QPrinter;
class QWidget;

namespace larkspan {

class TWebbrowser;

// False for no browser, no document, or a document that is not HTML.
bool HasHTMLDocument(TWebbrowser* B);
// True when the browser shows a document of any kind.
bool HasDocument(TWebbrowser* B);

// Whether the editing command ("Copy", "Cut", "Paste", ...) can run now; false without an HTML
// document. Errors reach the caller.
bool IsDocCommandEnabled(TWebbrowser* B, const QString& Name);

enum class DocumentCommand { Copy, Cut, Paste, SelectAll };
// On a document; errors ignored.
void ExecDocumentCommand(TWebbrowser* B, DocumentCommand command);
void BrowserCopy(TWebbrowser* B);
void BrowserSelectAll(TWebbrowser* B);

// Keeps the event loop running while the browser loads; a browser that is not loading counts as
// complete, also one that has never navigated. False when the browser goes or the application
// quits meanwhile.
bool WaitForComplete(TWebbrowser* B);
// The address takes the shown page's place in the history; then waits.
void NavigateAndWait(TWebbrowser* B, const QUrl& URL);
// Gives the keyboard focus to the page. Errors reach the caller.
void FocusDocument(TWebbrowser* B);

// On an HTML document; errors ignored. Refresh reloads bypassing the cache while Ctrl is held.
void BrowserGoBack(TWebbrowser* B);
void BrowserGoForward(TWebbrowser* B);
void BrowserStop(TWebbrowser* B);
void BrowserRefresh(TWebbrowser* B);
void ScrollToTop(TWebbrowser* B);
void ScrollToBottom(TWebbrowser* B);

// Asks for a file name with `askFileName` (given a suggested name; empty when the user cancels)
// and saves the page there: as a single-file web archive for .mht and .mhtml, otherwise as HTML
// with a folder of its resources. On an HTML document that is not loading. An error while
// issuing the save is raised as "ERROR: Unable to show Save As dialog. " + CR + kind + ": " +
// message + ".".
void BrowserSaveAs(TWebbrowser* B, const std::function<QString(const QString&)>& askFileName);

// Printing on an HTML document, into `printer`, which keeps the user's choices between calls.
// The question functions show the dialog on the printer and give false when the user cancels.
enum class PrintOutcome { NotPrinted, Printed, Canceled, Failed };
using PrinterQuestion = std::function<bool(QPrinter&)>;
// Draws the document on the printer it is given; waits until done.
using PagePainter = std::function<void(QPrinter*)>;
PrintOutcome BrowserPrint(TWebbrowser* B, QPrinter& printer, const PrinterQuestion& askUser);
void BrowserPrintPreview(TWebbrowser* B, QPrinter& printer,
                         const std::function<void(QPrinter&, const PagePainter&)>& showPreview);
void BrowserPageSetup(TWebbrowser* B, QPrinter& printer, const PrinterQuestion& askUser);

// On a document; errors ignored. The find bar; the page's source in a new window (which the
// browser asks for as for any page that opens one), once the page has loaded when it is still
// loading; the engine's settings dialog.
void BrowserFind(TWebbrowser* B);
void BrowserViewSource(TWebbrowser* B);
void BrowserOptions(TWebbrowser* B, QWidget* parent);

// Text size levels 0 (smallest) to 4 (largest), 2 being the page's own size. On an HTML
// document; errors (a level outside 0 to 4) reach the caller.
void SetTextSize(TWebbrowser* B, int Level);
// The level nearest to the page's zoom; 0 without an HTML document.
int GetTextSize(TWebbrowser* B);

// The charset name that asks the engine to detect the charset itself.
inline constexpr char16_t kAutomaticCharset[] = u"_autodetect_all";
// Shows the HTML document again from its bytes, decoded with the charset, also when the page
// declares another one; with kAutomaticCharset, decoded as the engine sees fit. True once the
// document is shown so; false without an HTML document, for a charset unknown here, or when
// the document's bytes cannot be had again.
bool SetDocumentCharset(TWebbrowser* B, const QString& Name);

// The cookies the page's scripts can read; empty without an HTML document. Errors reach the
// caller.
QString GetDocumentCookies(TWebbrowser* B);

}  // namespace larkspan
