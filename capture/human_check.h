#pragma once

#include <QString>

#include <optional>

namespace larkspan {

namespace dom {
class Document;
}

// A page of a run that asks whether a human is there instead of giving its results.
struct HumanCheck {
    int pageNumber = 0;
    // What it asks for: "captcha", "human check" or "consent wall".
    QString kind;

    // "page 3 asks for a human check (captcha)"
    QString text() const;
};

// What kind of human check the loaded page shows, by the markers shipped in
// resources/human_check_markers.txt, in one engine call; nothing for a page that shows none.
// Engine failures pass through as dom::DomError.
std::optional<QString> humanCheckKindOf(dom::Document& document);

}  // namespace larkspan
