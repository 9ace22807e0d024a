#pragma once

#include <QString>

#include <memory>
#include <optional>

class QWebEnginePage;

namespace larkspan::browser {

// Asks the engine whether it takes a CSS selector, on a blank page of its own, so a capture
// profile is checked before any page of the site is loaded.
class SelectorCheck {
public:
    SelectorCheck();
    ~SelectorCheck();

    // What the engine says is wrong with the selector; nothing when it takes it. Throws
    // std::runtime_error when the engine does not answer.
    std::optional<QString> problemOf(const QString& selector);

private:
    std::unique_ptr<QWebEnginePage> m_page;
};

}  // namespace larkspan::browser
