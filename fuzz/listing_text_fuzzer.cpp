// Feeds arbitrary text through the run's path: cut at every "§", parse every block, build its
// result line. The bytes are read as UTF-16 code units, so NULs, lone surrogates and every
// line separator the patterns care about turn up.

#include "capture/goldleaf_au_entry.h"
#include "capture/listing_text_parser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(data),
                                            static_cast<qsizetype>(size / 2));
    // One parser for all inputs, as one run shares its compiled patterns across pages.
    static larkspan::ListingTextParser parser;
    for (const QString& line : parser.resultLines(text)) {
        if (line.isEmpty()) {
            __builtin_trap();  // a kept listing always has at least its fourteen quoted fields
        }
    }
    // The lone-record path compiles its patterns itself.
    larkspan::TGoldleafAUentry entry(text);
    entry.ExecuteL();
    return 0;
}
