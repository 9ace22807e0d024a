#pragma once

namespace larkspan {

class CaptureProfile;

// Asks the browser engine whether it takes every selector of the profile, before any page is
// loaded. Throws ProfileError naming the first one it refuses.
void checkProfileSelectors(const CaptureProfile& profile);

}  // namespace larkspan
