#include "cli/profile_selectors.h"

#include "browser/selector_check.h"
#include "capture/capture_profile.h"

namespace larkspan {

void checkProfileSelectors(const CaptureProfile& profile) {
    browser::SelectorCheck check;
    profile.checkSelectors([&check](const QString& selector) { return check.problemOf(selector); });
}

}  // namespace larkspan
