#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace larkspan {

// A matcher pattern rewritten into PCRE2 syntax, with the position in the original pattern
// of every code unit written, so PCRE2's error offsets can be reported against what the
// caller wrote.
struct TranslatedPattern {
    QString pcre;
    std::vector<qsizetype> sourcePos;
    qsizetype sourceLength = 0;

    // 0-based position in the original pattern; its length for an offset past the end.
    qsizetype sourcePosition(qsizetype pcreOffset) const;
};

// The characters at which the matcher's "." stops when modifier s is off.
constexpr bool isRegExprLineSeparator(char16_t c) {
    return (c >= u'\n' && c <= u'\r') || c == u'\u2026' || c == u'\u2028' || c == u'\u2029';
}

// Where the line that holds position `at` of the text starts: just after the closest line
// separator before it, or at 0.
qsizetype regExprLineStart(QStringView text, qsizetype at);

// Rewrites the constructs whose meaning differs between the matcher and PCRE2: "." stops at
// the matcher's line separators when dotMatchesAll is false, \s is the five ASCII space
// characters (never VT), \Z is the very end, \1..\9 are single-digit back-references, and a
// backslash before any other letter or digit makes it literal.
TranslatedPattern translateRegExprPattern(const QString& pattern, bool dotMatchesAll);

}  // namespace larkspan
