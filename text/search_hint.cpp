#include "text/search_hint.h"

#include "text/regexpr_syntax.h"

namespace larkspan {
namespace {

bool isAsciiLetterOrDigit(QChar c) {
    return c.unicode() < 128 && c.isLetterOrNumber();
}

bool isAsciiHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

bool rangeHoldsLineSeparator(char16_t first, char16_t last) {
    for (char16_t c : {u'\n', u'\x0B', u'\f', u'\r', u'\u2026', u'\u2028', u'\u2029'}) {
        if (c >= first && c <= last) {
            return true;
        }
    }
    return false;
}

// Walks a pattern once, the way the matcher reads it, collecting the runs of literal characters
// that stand at the top level exactly once (neither quantified nor inside a group), and whether
// every item can only match characters other than line separators. Whatever it is unsure of
// counts against the hint: a group with "(?", an alternative at the top level, a character by
// its code, a back-reference.
class HintScanner {
public:
    HintScanner(const QString& pattern, bool dotMatchesAll)
        : m_in(pattern), m_dotMatchesAll(dotMatchesAll) {}

    // False when the pattern is beyond the analysis (or not well formed).
    bool run() {
        while (m_pos < m_in.size()) {
            if (!item()) {
                return false;
            }
        }
        endRun();
        return m_depth == 0;
    }

    const QString& longestLiteral() const { return m_longest; }
    bool literalLeads() const { return m_longestLeads; }
    bool withinOneLine() const { return m_withinOneLine; }

private:
    enum class Kind { Literal, Other, Bad };

    bool item() {
        const qsizetype at = m_pos;
        const QChar c = m_in[m_pos++];
        Kind kind = Kind::Other;
        QChar literal = c;
        switch (c.unicode()) {
            case u'\\':
                if (m_pos >= m_in.size()) {
                    return false;
                }
                literal = m_in[m_pos++];
                kind = isAsciiLetterOrDigit(literal) ? letterEscape(literal) : Kind::Literal;
                break;
            case u'[':
                kind = characterClass();
                break;
            case u'(':
                if (m_pos < m_in.size() && m_in[m_pos] == u'?') {
                    return false;  // modifier switches could change what follows
                }
                ++m_depth;
                endRun();
                return true;
            case u')':
                --m_depth;
                endRun();
                skipQuantifier();
                return m_depth >= 0;
            case u'|':
                endRun();
                return m_depth > 0;
            case u'.':
                m_withinOneLine = m_withinOneLine && !m_dotMatchesAll;
                break;
            case u'^':
            case u'$':
            case u'*':
            case u'+':
            case u'?':
                endRun();
                return true;
            default:
                kind = Kind::Literal;
        }
        if (kind == Kind::Bad) {
            return false;
        }
        if (kind == Kind::Literal && isRegExprLineSeparator(literal.unicode())) {
            m_withinOneLine = false;
        }
        const bool quantified = skipQuantifier();
        if (kind == Kind::Literal && !quantified && m_depth == 0) {
            if (m_run.isEmpty()) {
                m_runStart = at;
            }
            m_run += literal;
        } else {
            endRun();
        }
        return true;
    }

    // An escape of a letter or digit outside a class.
    Kind letterEscape(QChar c) {
        switch (c.unicode()) {
            case u'D':
            case u'W':
            case u's':
            case u'S':
            case u'n':
            case u'r':
            case u'f':
            case u'1':
            case u'2':
            case u'3':
            case u'4':
            case u'5':
            case u'6':
            case u'7':
            case u'8':
            case u'9':
                m_withinOneLine = false;
                break;
            case u'x':
                skipHexCode();
                m_withinOneLine = false;
                break;
            default:
                break;  // \d, \w, \t, the anchors, and letters that stand for themselves
        }
        return Kind::Other;
    }

    Kind characterClass() {
        if (m_pos < m_in.size() && m_in[m_pos] == u'^') {
            ++m_pos;
            m_withinOneLine = false;
        }
        bool first = true;
        while (m_pos < m_in.size()) {
            if (m_in[m_pos] == u']' && !first) {
                ++m_pos;
                return Kind::Other;
            }
            first = false;
            char16_t low = 0;
            if (!classMember(low)) {
                continue;
            }
            char16_t high = low;
            if (m_pos + 1 < m_in.size() && m_in[m_pos] == u'-' && m_in[m_pos + 1] != u']') {
                ++m_pos;
                if (!classMember(high)) {
                    m_withinOneLine = false;
                }
            }
            if (rangeHoldsLineSeparator(low, high)) {
                m_withinOneLine = false;
            }
        }
        return Kind::Bad;  // no closing "]"
    }

    // Reads one member of a class; true, with its character, when it is a single character.
    bool classMember(char16_t& member) {
        const QChar c = m_in[m_pos++];
        if (c != u'\\') {
            member = c.unicode();
            return true;
        }
        if (m_pos >= m_in.size()) {
            return false;
        }
        const QChar escaped = m_in[m_pos++];
        switch (escaped.unicode()) {
            case u'd':
            case u'w':
            case u't':
            case u'a':
            case u'e':
                return false;
            case u's':
            case u'n':
            case u'r':
            case u'f':
                m_withinOneLine = false;
                return false;
            case u'x':
                skipHexCode();
                m_withinOneLine = false;
                return false;
            default:
                member = escaped.unicode();
                return true;
        }
    }

    // After "\x": two hexadecimal digits, or any number of them in braces.
    void skipHexCode() {
        if (m_pos < m_in.size() && m_in[m_pos] == u'{') {
            const qsizetype close = m_in.indexOf(u'}', m_pos);
            m_pos = close < 0 ? m_in.size() : close + 1;
            return;
        }
        for (int digits = 0; digits < 2 && m_pos < m_in.size() && isAsciiHexDigit(m_in[m_pos]);
             ++digits) {
            ++m_pos;
        }
    }

    bool skipQuantifier() {
        if (m_pos >= m_in.size()) {
            return false;
        }
        const QChar c = m_in[m_pos];
        if (c == u'*' || c == u'+' || c == u'?') {
            ++m_pos;
        } else if (c == u'{' && braceQuantifierEnd() > 0) {
            m_pos = braceQuantifierEnd();
        } else {
            return false;
        }
        if (m_pos < m_in.size() && (m_in[m_pos] == u'?' || m_in[m_pos] == u'+')) {
            ++m_pos;  // lazy or possessive
        }
        return true;
    }

    // The position after "{n}", "{n,}" or "{n,m}" at the current position; 0 when there is
    // none, and "{" is then an ordinary character.
    qsizetype braceQuantifierEnd() const {
        qsizetype at = m_pos + 1;
        const auto digits = [&] {
            const qsizetype from = at;
            while (at < m_in.size() && m_in[at].unicode() < 128 && m_in[at].isDigit()) {
                ++at;
            }
            return at > from;
        };
        if (!digits()) {
            return 0;
        }
        if (at < m_in.size() && m_in[at] == u',') {
            ++at;
            digits();
        }
        return at < m_in.size() && m_in[at] == u'}' ? at + 1 : 0;
    }

    void endRun() {
        if (m_run.size() > m_longest.size()) {
            m_longest = m_run;
            m_longestLeads = m_runStart == 0;
        }
        m_run.clear();
    }

    const QString& m_in;
    const bool m_dotMatchesAll;
    qsizetype m_pos = 0;
    int m_depth = 0;
    QString m_run;
    qsizetype m_runStart = 0;
    QString m_longest;
    bool m_longestLeads = false;
    bool m_withinOneLine = true;
};

}  // namespace

SearchHint SearchHint::forPattern(const QString& pattern, bool dotMatchesAll) {
    HintScanner scanner(pattern, dotMatchesAll);
    SearchHint hint;
    // PCRE2 finds a literal that starts the pattern as fast on its own.
    if (scanner.run() && !scanner.longestLiteral().isEmpty() && !scanner.literalLeads()) {
        hint.m_literal = scanner.longestLiteral();
        hint.m_matcher.setPattern(hint.m_literal);
        hint.m_withinOneLine = scanner.withinOneLine();
    }
    return hint;
}

qsizetype SearchHint::searchStart(QStringView subject) const {
    if (m_literal.isEmpty()) {
        return 0;
    }
    const qsizetype at =
        m_literal.size() == 1 ? subject.indexOf(m_literal.front()) : m_matcher.indexIn(subject);
    if (at < 0 || !m_withinOneLine) {
        return at < 0 ? -1 : 0;
    }
    return regExprLineStart(subject, at);
}

}  // namespace larkspan
