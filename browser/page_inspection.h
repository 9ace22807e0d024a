#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>
#include <utility>

namespace larkspan {

class TWebbrowser;

namespace browser {

class BrowserPage;
class WebDocument;

// One document of a page's frame tree.
struct FrameDocument {
    // Frame positions from the top document, which has none.
    QList<int> path;
    // False for a frame of another origin that did not answer in time; nothing else is known.
    bool reached = true;
    QString url;
    // The tag name of the body element; nothing when the document has no body.
    std::optional<QString> bodyTag;
    QStringList links;
};

// The properties of a form control that its line in the Fields view shows.
struct FormControlFields {
    QString name;
    QString id;
    QString tagName;
    QString text;  // the control as a string
    QString innerText;
    QString innerHTML;
};

struct FormControls {
    int formElements = 0;
    // In document order, up to the control that could not be read.
    QList<FormControlFields> controls;
    // Why reading stopped early.
    std::optional<QString> error;
};

struct FormTreeControl {
    QString name;
    QString value;
    QString type;
    int maxLength = 0;                           // for "text"
    QList<std::pair<QString, QString>> options;  // text and value, for "select-one"
    // Why the control could not be read; the other fields are then empty.
    std::optional<QString> error;
};

struct FormTreeForm {
    QString name;
    QList<FormTreeControl> controls;
};

struct ElementInfo {
    QString tagName;
    QString id;
    QString innerText;
    QString innerHTML;
    QString className;
    // The address of an image or a LINK element; nothing for any other element.
    std::optional<QString> href;
};

// What the inspection tools read from, and do to, the document a browser shows. Each operation
// is one request to the page, however large the document; frames of other origins answer on
// their own. Once the document has gone, every operation raises dom::DomError.
class PageInspection {
public:
    // Nothing when there is no browser or it shows no document.
    static std::optional<PageInspection> open(TWebbrowser* browser);

    // False for what the browser shows in place of a web page: plain text, an image, a PDF.
    bool isHtmlDocument() const;

    // The top document and every frame below it, depth first, each frame right after its
    // parent. Frames of other origins get `frameTimeLimit` to answer.
    QList<FrameDocument> frames(std::chrono::milliseconds frameTimeLimit);
    // The addresses of the document's images, in document order.
    QStringList imageSources();
    FormControls formControls();
    QList<FormTreeForm> formTree();
    // The element at a point of the screen; nothing outside the page.
    std::optional<ElementInfo> elementAt(const QPoint& globalPosition);
    // Marks every occurrence of the text; gives how many.
    int highlight(const QString& text);

    enum class BodyStyle { BorderStyle, Overflow };
    // False when the document has no body.
    bool setBodyStyle(BodyStyle style, const QString& value);
    // Adds the markup as the last content of the body; false when the document has no body.
    bool insertBodyHTML(const QString& markup);
    // Switches the document's editing on or off, when asked; gives whether it is on.
    bool designMode(std::optional<bool> on = std::nullopt);

    // The document's source: the text it was made from, decoded as the engine decoded it; its
    // markup as it stands now when that text cannot be had.
    QString source();

private:
    PageInspection(TWebbrowser& browser, std::shared_ptr<WebDocument> document);

    TWebbrowser* m_browser;
    std::shared_ptr<WebDocument> m_document;
};

}  // namespace browser
}  // namespace larkspan
