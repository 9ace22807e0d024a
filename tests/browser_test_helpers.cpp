#include "browser_test_helpers.h"

#include "browser/twebbrowser.h"

namespace larkspan::test {

QString browserPagesFolder() {
    return QStringLiteral(LARKSPAN_TEST_DATA "/browser");
}

bool loadPage(TWebbrowser& browser, const QUrl& url) {
    browser.Navigate(url);
    return browser.waitUntilComplete() && browser.ReadyState() == 4;
}

std::shared_ptr<dom::Element> elementByClass(dom::Document& document, const QString& className) {
    const std::unique_ptr<dom::ElementCollection> elements = document.all();
    for (int i = 0; i < elements->length(); ++i) {
        std::shared_ptr<dom::Element> element = elements->item(i);
        if (element->className() == className) {
            return element;
        }
    }
    return nullptr;
}

QString domErrorOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const dom::DomError& error) {
        return QString::fromStdString(error.what());
    }
    return QStringLiteral("no error");
}

}  // namespace larkspan::test
