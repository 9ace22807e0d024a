#include "inspect/page_marks.h"

#include "browser/page_inspection.h"
#include "browser/twebbrowser.h"

namespace larkspan {
namespace {

using browser::PageInspection;

void setBodyStyle(TWebbrowser* browser, PageInspection::BodyStyle style, const QString& value) {
    std::optional<PageInspection> page = PageInspection::open(browser);
    if (page && page->isHtmlDocument()) {
        page->setBodyStyle(style, value);
    }
}

}  // namespace

void SearchAndHighlight(TWebbrowser* browser, const QString& text) {
    if (browser == nullptr || browser->Busy() || text.isEmpty()) {
        return;
    }
    if (std::optional<PageInspection> page = PageInspection::open(browser)) {
        page->highlight(text);
    }
}

void SetBodyBorder(TWebbrowser* browser, bool bordered) {
    setBodyStyle(browser, PageInspection::BodyStyle::BorderStyle,
                 bordered ? QString() : QStringLiteral("none"));
}

void SetBodyScrollBars(TWebbrowser* browser, bool hidden) {
    setBodyStyle(browser, PageInspection::BodyStyle::Overflow,
                 hidden ? QStringLiteral("hidden") : QString());
}

bool IsDesignMode(TWebbrowser* browser) {
    std::optional<PageInspection> page = PageInspection::open(browser);
    return page && page->isHtmlDocument() && page->designMode();
}

void SetDesignMode(TWebbrowser* browser, bool on) {
    std::optional<PageInspection> page = PageInspection::open(browser);
    if (page && page->isHtmlDocument()) {
        page->designMode(on);
    }
}

}  // namespace larkspan
