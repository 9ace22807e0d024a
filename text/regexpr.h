#pragma once

#include "text/pcre_pattern.h"
#include "text/regexpr_program.h"

#include <QString>

#include <array>
#include <memory>
#include <stdexcept>

namespace larkspan {

class RegexCache;

// A pattern that does not compile, or a modifier setting the matcher does not support.
class ERegExpr : public std::runtime_error {
public:
    ERegExpr(const QString& message, int errorCode, qsizetype compilerErrorPos);
    int ErrorCode() const { return m_errorCode; }
    // 1-based position in the pattern; 0 when the error is not about a position.
    qsizetype CompilerErrorPos() const { return m_compilerErrorPos; }

private:
    int m_errorCode;
    qsizetype m_compilerErrorPos;
};

// The matcher the listing patterns run on. Six modifiers (defaults i off, r on, s on, g on,
// m off, x off); with s off "." stops at CR, LF, VT, FF, U+2026, U+2028 and U+2029. The input
// ends at its first U+0000. Fifteen capture slots: group 0 and groups 1 to 14.
class TRegExpr {
public:
    static constexpr int kMaxGroup = 14;

    explicit TRegExpr(RegexCache* cache = nullptr);

    const QString& Expression() const { return m_expression; }
    void setExpression(const QString& expression);

    bool ModifierI() const { return m_modifiers[kI]; }
    bool ModifierR() const { return m_modifiers[kR]; }
    bool ModifierS() const { return m_modifiers[kS]; }
    bool ModifierG() const { return m_modifiers[kG]; }
    bool ModifierM() const { return m_modifiers[kM]; }
    bool ModifierX() const { return m_modifiers[kX]; }
    void setModifierI(bool on) { setModifier(kI, on); }
    void setModifierR(bool on) { setModifier(kR, on); }
    void setModifierS(bool on) { setModifier(kS, on); }
    void setModifierG(bool on) { setModifier(kG, on); }
    void setModifierM(bool on) { setModifier(kM, on); }
    void setModifierX(bool on) { setModifier(kX, on); }

    // Letters of the modifiers that are on, then "-" and the letters of those that are off.
    QString ModifierStr() const;
    // Letters before a "-" switch their modifier on, letters after it switch it off.
    void setModifierStr(const QString& letters);

    // Searches the input from its first character. Throws ERegExpr when the expression does not
    // compile. A search that exceeds the matching limits counts as no match.
    bool Exec(const QString& input);

    QString Match(int group) const;
    qsizetype MatchPos(int group) const;  // 1-based; -1 when the group is unset
    qsizetype MatchLen(int group) const;  // -1 when the group is unset

private:
    enum Modifier { kI, kR, kS, kG, kM, kX, kModifierCount };
    static constexpr char kLetters[] = "irsgmx";

    void setModifier(Modifier modifier, bool on);
    void compile();
    const PcreMatch::Span* span(int group) const;

    RegexCache* m_cache;
    QString m_expression;
    std::array<bool, kModifierCount> m_modifiers{false, true, true, true, false, false};
    std::shared_ptr<const RegExprProgram> m_compiled;
    QString m_input;
    qsizetype m_inputLength = 0;  // up to its first U+0000
    PcreMatch m_match;
    bool m_matched = false;
};

}  // namespace larkspan
