#include "shell/turning_page_loader.h"

#include "shell/wait_window.h"
#include "browser/twebbrowser.h"

namespace larkspan {

TurningPageLoader::TurningPageLoader(TWebbrowser* browser) : m_browser(browser) {}

dom::LinkOutcome TurningPageLoader::clickAndWait(dom::Element& element) {
    if (!m_browser) {
        throw dom::DomError("The browser has gone");
    }
    // Owned by the application, not the window: it must stay on top of whatever is active.
    const WaitWindow wait(nullptr, QStringLiteral("The page is turning..."));
    return m_browser->clickAndWait(element);
}

}  // namespace larkspan
