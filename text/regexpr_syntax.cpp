#include "text/regexpr_syntax.h"

#include <cstdint>
#include <cstring>

namespace larkspan {
namespace {

// Whether none of four characters can be a line separator: each lies between U+000E and
// U+1FFF. Four at a time, since markup lines run to thousands of characters.
bool holdsNoLineSeparator(const char16_t* four) {
    std::uint64_t quad = 0;
    std::memcpy(&quad, four, sizeof quad);
    constexpr std::uint64_t kLanes = 0x0001'0001'0001'0001;
    const std::uint64_t belowE = (quad - 0x000E * kLanes) & ~quad & (0x8000 * kLanes);
    const std::uint64_t fromU2000 = quad & (0xE000 * kLanes);
    return (belowE | fromU2000) == 0;
}

const QString kRestrictedDot = QStringLiteral("[^\\r\\n\\x0B\\f\\x{2026}\\x{2028}\\x{2029}]");
const QString kSpaceClassBody = QStringLiteral("\\t\\n\\f\\r ");

class Translator {
public:
    Translator(const QString& pattern, bool dotMatchesAll)
        : m_in(pattern), m_dotMatchesAll(dotMatchesAll) {
        m_out.sourceLength = pattern.size();
    }

    TranslatedPattern run() {
        while (m_pos < m_in.size()) {
            m_inClass ? classChar() : plainChar();
        }
        return std::move(m_out);
    }

private:
    void append(const QString& text, qsizetype from) {
        m_out.pcre += text;
        m_out.sourcePos.insert(m_out.sourcePos.end(), text.size(), from);
    }

    void plainChar() {
        const qsizetype at = m_pos;
        const QChar c = m_in[m_pos++];
        if (c == u'\\') {
            plainEscape(at);
        } else if (c == u'.' && !m_dotMatchesAll) {
            append(kRestrictedDot, at);
        } else if (c == u'[') {
            openClass(at);
        } else {
            append(c, at);
        }
    }

    void openClass(qsizetype at) {
        QString head = QStringLiteral("[");
        if (m_pos < m_in.size() && m_in[m_pos] == u'^') {
            head += u'^';
            ++m_pos;
        }
        // A "]" right after the opening is a member, not the end.
        if (m_pos < m_in.size() && m_in[m_pos] == u']') {
            head += QStringLiteral("\\]");
            ++m_pos;
        }
        append(head, at);
        m_inClass = true;
    }

    void classChar() {
        const qsizetype at = m_pos;
        const QChar c = m_in[m_pos++];
        if (c == u'\\') {
            classEscape(at);
        } else if (c == u']') {
            append(c, at);
            m_inClass = false;
        } else if (c == u'[') {
            append(QStringLiteral("\\["), at);  // never a POSIX class here
        } else {
            append(c, at);
        }
    }

    // Letters and digits the matcher does not know as escapes stand for themselves.
    void literal(QChar c, qsizetype at) {
        append(c.isLetterOrNumber() && c.unicode() < 128 ? QString(c) : QString(u'\\') + c, at);
    }

    void plainEscape(qsizetype at) {
        if (m_pos >= m_in.size()) {
            append(QStringLiteral("\\"), at);  // PCRE2 reports the dangling backslash
            return;
        }
        const QChar c = m_in[m_pos++];
        switch (c.unicode()) {
            case u'd':
            case u'D':
            case u'w':
            case u'W':
            case u'b':
            case u'B':
            case u'A':
            case u't':
            case u'n':
            case u'r':
            case u'f':
            case u'a':
            case u'e':
            case u'x':
                append(QString(u'\\') + c, at);
                break;
            case u's':
                append(QLatin1Char('[') + kSpaceClassBody + QLatin1Char(']'), at);
                break;
            case u'S':
                append(QStringLiteral("[^") + kSpaceClassBody + QLatin1Char(']'), at);
                break;
            case u'Z':
                append(QStringLiteral("\\z"), at);
                break;
            default:
                if (c >= u'1' && c <= u'9') {
                    append(QStringLiteral("\\g{%1}").arg(c), at);
                } else {
                    literal(c, at);
                }
        }
    }

    void classEscape(qsizetype at) {
        if (m_pos >= m_in.size()) {
            append(QStringLiteral("\\"), at);
            return;
        }
        const QChar c = m_in[m_pos++];
        switch (c.unicode()) {
            case u'd':
            case u'w':
            case u't':
            case u'n':
            case u'r':
            case u'f':
            case u'a':
            case u'e':
            case u'x':
                append(QString(u'\\') + c, at);
                break;
            case u's':
                append(kSpaceClassBody, at);
                break;
            default:
                literal(c, at);
        }
    }

    const QString& m_in;
    const bool m_dotMatchesAll;
    qsizetype m_pos = 0;
    bool m_inClass = false;
    TranslatedPattern m_out;
};

}  // namespace

qsizetype regExprLineStart(QStringView text, qsizetype at) {
    const char16_t* data = text.utf16();
    while (at > 0) {
        if (at >= 4 && holdsNoLineSeparator(data + at - 4)) {
            at -= 4;
        } else if (isRegExprLineSeparator(data[at - 1])) {
            break;
        } else {
            --at;
        }
    }
    return at;
}

qsizetype TranslatedPattern::sourcePosition(qsizetype pcreOffset) const {
    if (pcreOffset >= 0 && pcreOffset < static_cast<qsizetype>(sourcePos.size())) {
        return sourcePos[static_cast<std::size_t>(pcreOffset)];
    }
    return sourceLength;
}

TranslatedPattern translateRegExprPattern(const QString& pattern, bool dotMatchesAll) {
    return Translator(pattern, dotMatchesAll).run();
}

}  // namespace larkspan
