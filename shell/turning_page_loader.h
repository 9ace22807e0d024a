#pragma once

#include "browser/dom.h"

#include <QPointer>

namespace larkspan {

class TWebbrowser;

// Follows a next-page link in the browser while the wait window says "The page is turning...".
class TurningPageLoader : public dom::PageLoader {
public:
    explicit TurningPageLoader(TWebbrowser* browser);

    dom::LinkOutcome clickAndWait(dom::Element& element) override;

private:
    QPointer<TWebbrowser> m_browser;
};

}  // namespace larkspan
