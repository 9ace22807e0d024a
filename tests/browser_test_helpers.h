#pragma once

#include "browser/dom.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

namespace larkspan {
class TWebbrowser;
}

namespace larkspan::test {

// The folder of the pages the browser tests load.
QString browserPagesFolder();

// Navigates and waits until nothing is loading; false when the wait did not end that way.
bool loadPage(TWebbrowser& browser, const QUrl& url);

// The first element of the document whose class attribute is exactly `className`, or null.
std::shared_ptr<dom::Element> elementByClass(dom::Document& document, const QString& className);

// The message of the dom::DomError that `operation` raises, or "no error".
QString domErrorOf(const std::function<void()>& operation);

}  // namespace larkspan::test
