#include "text/regexpr.h"

#include "text/regex_cache.h"

#include <cstring>

namespace larkspan {
namespace {

// Codes of the errors raised before PCRE2 sees the pattern.
constexpr int kUnsupportedModifier = 1001;
constexpr int kBadModifierLetter = 1002;
constexpr int kTooManyGroups = 1003;

}  // namespace

ERegExpr::ERegExpr(const QString& message, int errorCode, qsizetype compilerErrorPos)
    : std::runtime_error(message.toStdString()),
      m_errorCode(errorCode),
      m_compilerErrorPos(compilerErrorPos) {}

TRegExpr::TRegExpr(RegexCache* cache) : m_cache(cache) {}

void TRegExpr::setExpression(const QString& expression) {
    if (expression != m_expression) {
        m_expression = expression;
        m_compiled.reset();
    }
}

void TRegExpr::setModifier(Modifier modifier, bool on) {
    if (m_modifiers[modifier] != on) {
        m_modifiers[modifier] = on;
        m_compiled.reset();
    }
}

QString TRegExpr::ModifierStr() const {
    QString on;
    QString off;
    for (int i = 0; i < kModifierCount; ++i) {
        (m_modifiers[i] ? on : off) += QLatin1Char(kLetters[i]);
    }
    return off.isEmpty() ? on : on + u'-' + off;
}

void TRegExpr::setModifierStr(const QString& letters) {
    auto modifiers = m_modifiers;
    bool on = true;
    for (const QChar c : letters) {
        if (c == u'-' && on) {
            on = false;
            continue;
        }
        const char* letter = c.unicode() < 128 && c.unicode() != 0
                                 ? std::strchr(kLetters, c.toLower().toLatin1())
                                 : nullptr;
        if (letter == nullptr) {
            throw ERegExpr(QStringLiteral("Invalid modifier letter \"%1\"").arg(c),
                           kBadModifierLetter, 0);
        }
        modifiers[static_cast<std::size_t>(letter - kLetters)] = on;
    }
    for (int i = 0; i < kModifierCount; ++i) {
        setModifier(static_cast<Modifier>(i), modifiers[i]);
    }
}

void TRegExpr::compile() {
    // The listing patterns need none of these; refusing them beats matching them wrongly.
    const bool unsupported[] = {m_modifiers[kI], m_modifiers[kM], m_modifiers[kX],
                                !m_modifiers[kG]};
    const char* names[] = {"i on", "m on", "x on", "g off"};
    for (std::size_t i = 0; i < std::size(unsupported); ++i) {
        if (unsupported[i]) {
            throw ERegExpr(QStringLiteral("Modifier %1 is not supported").arg(names[i]),
                           kUnsupportedModifier, 0);
        }
    }

    m_compiled = compileProgram(m_cache, m_expression, m_modifiers[kS]);
    if (m_compiled->captureCount() > kMaxGroup) {
        m_compiled.reset();
        throw ERegExpr(QStringLiteral("Too many groups (at most %1)").arg(kMaxGroup),
                       kTooManyGroups, 0);
    }
}

bool TRegExpr::Exec(const QString& input) {
    m_matched = false;
    m_match.groups.clear();
    if (!m_compiled) {
        compile();
    }
    // A matcher runs many patterns on one text: look for its end once. Sharing the same data
    // means the same text, since a change would have detached it.
    const bool sameText = m_input.isSharedWith(input) && m_input.constData() == input.constData() &&
                          m_input.size() == input.size();
    if (!sameText) {
        m_input = input;
        m_inputLength = m_input.indexOf(QChar(0));
        if (m_inputLength < 0) {
            m_inputLength = m_input.size();
        }
    }
    m_matched = m_compiled->search(QStringView(m_input).first(m_inputLength), m_match);
    return m_matched;
}

const PcreMatch::Span* TRegExpr::span(int group) const {
    if (!m_matched || group < 0 || group > kMaxGroup ||
        group >= static_cast<int>(m_match.groups.size())) {
        return nullptr;
    }
    const auto& found = m_match.groups[static_cast<std::size_t>(group)];
    return found.isSet() ? &found : nullptr;
}

QString TRegExpr::Match(int group) const {
    const auto* found = span(group);
    return found ? m_input.mid(found->start, found->end - found->start) : QString();
}

qsizetype TRegExpr::MatchPos(int group) const {
    const auto* found = span(group);
    return found ? found->start + 1 : -1;
}

qsizetype TRegExpr::MatchLen(int group) const {
    const auto* found = span(group);
    return found ? found->end - found->start : -1;
}

}  // namespace larkspan
