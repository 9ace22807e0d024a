#include "capture/human_check.h"

#include "browser/dom.h"
#include "capture/capture_data.h"

#include <QJsonArray>
#include <QJsonObject>

#include <stdexcept>

namespace larkspan {
namespace {

const QString kPageScript = QStringLiteral("human_check.js");

struct Markers {
    QStringList kinds;
    // What the page script is given, in the same order.
    QJsonArray request;
};

const Markers& shippedMarkers() {
    static const Markers markers = [] {
        Markers read;
        for (const QStringList& words : captureDataLines(QStringLiteral("human_check_markers.txt"))) {
            if (words.size() < 3) {
                throw std::logic_error("a human check marker needs KIND WHERE TEXT");
            }
            read.kinds.append(QString(words[0]).replace(u'_', u' '));
            QString text = words.mid(2).join(u' ');
            // Visible text is compared in lower case; selectors and addresses as written.
            if (words[1] == u"text") {
                text = text.toLower();
            }
            read.request.append(QJsonObject{{QStringLiteral("where"), words[1]},
                                            {QStringLiteral("text"), text}});
        }
        return read;
    }();
    return markers;
}

}  // namespace

QString HumanCheck::text() const {
    return QStringLiteral("page %1 asks for a human check (%2)").arg(QString::number(pageNumber), kind);
}

std::optional<QString> humanCheckKindOf(dom::Document& document) {
    const Markers& markers = shippedMarkers();
    const int index = document.runPageScript(kPageScript, markers.request).toInt(-1);
    if (index < 0 || index >= markers.kinds.size()) {
        return std::nullopt;
    }
    return markers.kinds[index];
}

}  // namespace larkspan
