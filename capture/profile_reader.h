#pragma once

#include "capture/capture_profile.h"

#include <QByteArray>
#include <QString>

namespace larkspan {

// Reads a capture profile from the bytes of its JSON file:
//   {"name": TEXT, "matches": [ADDRESS*...], "listing": SELECTOR,
//    "fields": {KEY: SELECTOR | {"selector": ..., "attribute": ..., "pattern": ...}, ...},
//    "next": {"selector": ...} | {"text": ...}, "wait_for": SELECTOR}
// where KEY is a field's JSON Lines key; name, listing and fields are required. Throws
// ProfileError "FILE: line L, column C: ..." for text that is no JSON, and "FILE: KEY: ..." for
// an unknown key, a missing or empty value, a value of the wrong type, an unknown field and a
// pattern PCRE2 refuses (its message and offset). Selectors are checked by the engine later
// (CaptureProfile::checkSelectors).
CaptureProfile readCaptureProfile(const QByteArray& content, const QString& file);

// The same for a file; one that cannot be read or is too large for a profile is refused.
CaptureProfile readCaptureProfileFile(const QString& path);

}  // namespace larkspan
