// Feeds arbitrary text through the run's path: cut at every "§", parse every block, build its
// result line. The bytes are read as UTF-16 code units, so NULs, lone surrogates and every
// line separator the patterns care about turn up. It also checks what must agree: the same
// bytes read as a file a few at a time against decoding them at once, searches that skip what
// their hint allows against searches from the first character, and the linear address scans
// against the matcher, wherever the slower search finished.

#include "capture/address_patterns.h"
#include "capture/goldleaf_au_entry.h"
#include "capture/listing_text_parser.h"
#include "capture/listing_text_reader.h"
#include "tests/trickling_device.h"
#include "text/regex_cache.h"
#include "text/regexpr.h"
#include "text/regexpr_program.h"
#include "text/regexpr_syntax.h"

#include <QStringDecoder>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <list>
#include <pcre2.h>

namespace {

QStringList groups(const std::optional<larkspan::AddressMatch>& match) {
    return {match->street.toString(), match->city.toString(), match->state.toString(),
            match->postcode.toString()};
}

QStringList matcherGroups(larkspan::TRegExpr& regex, std::initializer_list<int> numbers) {
    QStringList result;
    for (int number : numbers) {
        result.append(number < 0 ? QString() : regex.Match(number));
    }
    return result;
}

void checkAddressScans(const QString& text, larkspan::RegexCache& cache) {
    larkspan::TRegExpr regex(&cache);
    regex.setModifierS(false);
    regex.setExpression(QStringLiteral(R"re(address: ((.+),)+? ?(.+?) ([A-Z]+) (\d+))re"));
    if (regex.Exec(text) &&
        groups(larkspan::matchStreetAddress(text)) != matcherGroups(regex, {1, 3, 4, 5})) {
        __builtin_trap();
    }
    regex.setExpression(QStringLiteral(R"re(>(.+) ([A-Z]+) (\d+))re"));
    if (regex.Exec(text) &&
        groups(larkspan::matchMarkupAddress(text)) != matcherGroups(regex, {-1, 1, 2, 3})) {
        __builtin_trap();
    }
}

// The field patterns of a record, and whether "." takes line separators.
const std::pair<const char16_t*, bool> kFieldPatterns[] = {
    {uR"re([_a-zA-Z\d\-\.]+@[_a-zA-Z\d\-]+(\.[_a-zA-Z\d\-]+)+)re", true},
    {uR"re(tel:([\- \d]+))re", false},
    {uR"re(span class=["']?alt["']?>(.+?) \(opens in a new window\))re", false},
    {uR"re(=["']?(.+?)["']? title="Visit Our Website)re", false},
    {uR"re(href="(.+?)" title=.+?web site)re", false},
    {uR"re(title=.www.(.+?) )re", false},
};

// A field pattern compiled twice: with its search hint, and as a plain search from the start.
struct HintedAndWhole {
    HintedAndWhole(const QString& expression, bool dotMatchesAll)
        : hinted(expression, dotMatchesAll, larkspan::PcrePattern::Jit::On),
          whole(larkspan::translateRegExprPattern(expression, dotMatchesAll).pcre,
                PCRE2_DOLLAR_ENDONLY | (dotMatchesAll ? PCRE2_DOTALL : 0u), PCRE2_NEWLINE_ANY,
                larkspan::PcrePattern::Jit::On) {}
    larkspan::RegExprProgram hinted;
    larkspan::PcrePattern whole;
};

bool sameGroups(const larkspan::PcreMatch& a, const larkspan::PcreMatch& b) {
    return std::equal(
        a.groups.begin(), a.groups.end(), b.groups.begin(), b.groups.end(),
        [](const auto& x, const auto& y) { return x.start == y.start && x.end == y.end; });
}

void checkSearchHints(QStringView text) {
    static const std::list<HintedAndWhole> patterns = [] {
        std::list<HintedAndWhole> result;
        for (const auto& [pattern, dotMatchesAll] : kFieldPatterns) {
            result.emplace_back(QString::fromUtf16(pattern), dotMatchesAll);
        }
        return result;
    }();
    const qsizetype nul = text.indexOf(QChar(0));
    const QStringView subject = nul < 0 ? text : text.first(nul);
    larkspan::PcreMatch hinted;
    larkspan::PcreMatch whole;
    for (const HintedAndWhole& pattern : patterns) {
        // A search from the start that finishes must be matched exactly.
        if (pattern.whole.search(subject, 0, 0, whole) &&
            (!pattern.hinted.search(subject, hinted) || !sameGroups(hinted, whole))) {
            __builtin_trap();
        }
    }
}

void checkStream(const QByteArray& bytes, larkspan::ListingTextParser& parser) {
    QStringDecoder decoder(
        QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8));
    const QStringList whole = parser.resultLines(decoder.decode(bytes));
    TricklingDevice device(bytes, 1 + bytes.size() % 5);
    larkspan::ListingTextReader reader(device, QStringLiteral("input"));
    QStringList streamed;
    parser.parse(reader, [&streamed](const QString& line) { streamed.append(line); });
    if (streamed != whole) {
        __builtin_trap();
    }
}

}  // namespace

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

    static larkspan::RegexCache cache;
    checkAddressScans(text, cache);
    checkSearchHints(text);
    checkStream(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                parser);
    return 0;
}
