#include "browser/page_inspection.h"

#include "browser/browser_page.h"
#include "browser/document_bytes.h"
#include "browser/local_wait.h"
#include "browser/twebbrowser.h"
#include "browser/web_document.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringDecoder>
#include <QWebEngineView>

namespace larkspan::browser {
namespace {

QJsonObject inspect(const char* query) {
    return QJsonObject{{QStringLiteral("op"), QStringLiteral("inspect")},
                       {QStringLiteral("query"), QLatin1String(query)}};
}

QString textOf(const QJsonObject& object, const char* name) {
    return object.value(QLatin1String(name)).toString();
}

QStringList stringsOf(const QJsonValue& value) {
    QStringList strings;
    for (const QJsonValue& item : value.toArray()) {
        strings.append(item.toString());
    }
    return strings;
}

QList<int> pathOf(const QJsonValue& value) {
    QList<int> path;
    for (const QJsonValue& item : value.toArray()) {
        path.append(item.toInt());
    }
    return path;
}

std::optional<QString> optionalText(const QJsonValue& value) {
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
}

FrameDocument frameDocumentOf(const QJsonObject& frame) {
    return FrameDocument{pathOf(frame.value(QLatin1String("path"))), true, textOf(frame, "url"),
                         optionalText(frame.value(QLatin1String("body"))),
                         stringsOf(frame.value(QLatin1String("links")))};
}

FormTreeControl treeControlOf(const QJsonObject& control) {
    FormTreeControl read;
    if (const QJsonValue error = control.value(QLatin1String("error")); error.isString()) {
        read.error = error.toString();
        return read;
    }
    read.name = textOf(control, "name");
    read.value = textOf(control, "value");
    read.type = textOf(control, "type");
    read.maxLength = control.value(QLatin1String("maxLength")).toInt();
    for (const QJsonValue& option : control.value(QLatin1String("options")).toArray()) {
        read.options.append(
            {textOf(option.toObject(), "text"), textOf(option.toObject(), "value")});
    }
    return read;
}

}  // namespace

std::optional<PageInspection> PageInspection::open(TWebbrowser* browser) {
    if (browser == nullptr) {
        return std::nullopt;
    }
    std::shared_ptr<WebDocument> document = browser->webDocument();
    if (!document) {
        return std::nullopt;
    }
    return PageInspection(*browser, std::move(document));
}

PageInspection::PageInspection(TWebbrowser& browser, std::shared_ptr<WebDocument> document)
    : m_browser(&browser), m_document(std::move(document)) {}

bool PageInspection::isHtmlDocument() const {
    return m_document->isHtmlDocument();
}

QList<FrameDocument> PageInspection::frames(std::chrono::milliseconds frameTimeLimit) {
    BrowserPage* page = m_browser->enginePage();
    const int request = page->nextFrameRequest();
    // Frames may answer while the top document's own answer is on its way.
    LocalWait wait(page);
    QHash<QList<int>, FrameDocument> answers;
    int awaited = -1;
    QObject::connect(page, &BrowserPage::frameAnswered, &wait, [&](const QJsonObject& answer) {
        if (answer.value(QLatin1String("request")).toInt() != request) {
            return;
        }
        FrameDocument frame = frameDocumentOf(answer);
        answers.insert(frame.path, std::move(frame));
        if (awaited >= 0 && answers.size() >= awaited) {
            wait.finish();
        }
    });

    QJsonObject asking = inspect("frames");
    asking.insert(QStringLiteral("request"), request);
    QList<FrameDocument> frames;
    QList<QList<int>> remote;
    for (const QJsonValue& item : m_document->ask(asking).toArray()) {
        const QJsonObject frame = item.toObject();
        if (frame.value(QLatin1String("remote")).toBool()) {
            remote.append(pathOf(frame.value(QLatin1String("path"))));
            frames.append(FrameDocument{remote.last(), false, {}, {}, {}});
        } else {
            frames.append(frameDocumentOf(frame));
        }
    }
    awaited = static_cast<int>(remote.size());
    if (answers.size() < awaited) {
        wait.setTimeLimit(frameTimeLimit);
        wait.exec();
    }
    for (FrameDocument& frame : frames) {
        if (!frame.reached && answers.contains(frame.path)) {
            frame = answers.value(frame.path);
        }
    }
    return frames;
}

QStringList PageInspection::imageSources() {
    return stringsOf(m_document->ask(inspect("images")));
}

FormControls PageInspection::formControls() {
    const QJsonObject answer = m_document->ask(inspect("formControls")).toObject();
    FormControls read;
    read.formElements = answer.value(QLatin1String("forms")).toInt();
    for (const QJsonValue& item : answer.value(QLatin1String("controls")).toArray()) {
        const QJsonObject control = item.toObject();
        read.controls.append({textOf(control, "name"), textOf(control, "id"),
                              textOf(control, "tagName"), textOf(control, "text"),
                              textOf(control, "innerText"), textOf(control, "innerHTML")});
    }
    read.error = optionalText(answer.value(QLatin1String("error")));
    return read;
}

QList<FormTreeForm> PageInspection::formTree() {
    QList<FormTreeForm> forms;
    for (const QJsonValue& item : m_document->ask(inspect("formTree")).toArray()) {
        const QJsonObject form = item.toObject();
        FormTreeForm read{textOf(form, "name"), {}};
        for (const QJsonValue& control : form.value(QLatin1String("controls")).toArray()) {
            read.controls.append(treeControlOf(control.toObject()));
        }
        forms.append(std::move(read));
    }
    return forms;
}

std::optional<ElementInfo> PageInspection::elementAt(const QPoint& globalPosition) {
    // The page counts in its own pixels, which the zoom makes larger or smaller on screen.
    const QWebEngineView* view = m_browser->engineView();
    const QPointF point =
        QPointF(view->mapFromGlobal(globalPosition)) / m_browser->enginePage()->zoomFactor();
    QJsonObject asking = inspect("elementAt");
    asking.insert(QStringLiteral("x"), point.x());
    asking.insert(QStringLiteral("y"), point.y());
    const QJsonValue answer = m_document->ask(asking);
    if (!answer.isObject()) {
        return std::nullopt;
    }
    const QJsonObject element = answer.toObject();
    return ElementInfo{
        textOf(element, "tagName"),   textOf(element, "id"),
        textOf(element, "innerText"), textOf(element, "innerHTML"),
        textOf(element, "className"), optionalText(element.value(QLatin1String("href")))};
}

int PageInspection::highlight(const QString& text) {
    QJsonObject asking = inspect("highlight");
    asking.insert(QStringLiteral("text"), text);
    return m_document->ask(asking).toInt();
}

bool PageInspection::setBodyStyle(BodyStyle style, const QString& value) {
    QJsonObject asking = inspect("bodyStyle");
    asking.insert(QStringLiteral("property"), style == BodyStyle::BorderStyle
                                                  ? QStringLiteral("borderStyle")
                                                  : QStringLiteral("overflow"));
    asking.insert(QStringLiteral("value"), value);
    return m_document->ask(asking).toBool();
}

bool PageInspection::insertBodyHTML(const QString& markup) {
    QJsonObject asking = inspect("insertBodyHTML");
    asking.insert(QStringLiteral("markup"), markup);
    return m_document->ask(asking).toBool();
}

bool PageInspection::designMode(std::optional<bool> on) {
    QJsonObject asking = inspect("designMode");
    if (on) {
        asking.insert(QStringLiteral("on"), *on);
    }
    return m_document->ask(asking).toBool();
}

QString PageInspection::source() {
    if (const std::optional<QString>& written = m_browser->writtenHTML()) {
        return *written;
    }
    if (const std::optional<QByteArray> bytes = documentBytes(*m_browser, *m_document)) {
        const QString charset = m_document->ask(inspect("characterSet")).toString();
        QStringDecoder decoder(charset.toLatin1().constData());
        if (decoder.isValid()) {
            QString text = decoder.decode(*bytes);
            if (!decoder.hasError()) {
                return text;
            }
        }
    }
    return m_document->ask(inspect("serialized")).toString();
}

}  // namespace larkspan::browser
