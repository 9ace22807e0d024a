#pragma once

#include "text/pcre_pattern.h"

#include <QFlags>
#include <QString>

#include <memory>

namespace larkspan {

class RegexCache;

enum class PerlRegExOption {
    preCaseLess = 0x01,
    preMultiLine = 0x02,
    preSingleLine = 0x04,
    preExtended = 0x08,
    preAnchored = 0x10,
    preUnGreedy = 0x20,
    preNoAutoCapture = 0x40,
};
Q_DECLARE_FLAGS(PerlRegExOptions, PerlRegExOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(PerlRegExOptions)

enum class PerlRegExState {
    preNotBOL = 0x01,
    preNotEOL = 0x02,
    preNotEmpty = 0x04,
};
Q_DECLARE_FLAGS(PerlRegExStates, PerlRegExState)
Q_DECLARE_OPERATORS_FOR_FLAGS(PerlRegExStates)

// A pattern compiled as TPerlRegEx compiles it: UTF mode, any Unicode line end as newline.
// Throws PcreCompileError with PCRE2's message and offset when PCRE2 refuses it.
std::shared_ptr<const PcrePattern> compilePerlPattern(const QString& pattern,
                                                      PerlRegExOptions options = {},
                                                      RegexCache* cache = nullptr);

// A thin object over PCRE2 in UTF mode, with any Unicode line end as newline. Searches refuse
// empty matches unless preNotEmpty is taken out of State. Compile errors surface as
// PcreCompileError from Match and ReplaceAll.
class TPerlRegEx {
public:
    explicit TPerlRegEx(RegexCache* cache = nullptr);

    const QString& RegEx() const { return m_regEx; }
    void setRegEx(const QString& regEx);
    PerlRegExOptions Options() const { return m_options; }
    void setOptions(PerlRegExOptions options);
    PerlRegExStates State() const { return m_state; }
    void setState(PerlRegExStates state) { m_state = state; }
    const QString& Subject() const { return m_subject; }
    void setSubject(const QString& subject);
    const QString& Replacement() const { return m_replacement; }
    void setReplacement(const QString& replacement) { m_replacement = replacement; }

    // One search from the start of Subject.
    bool Match();
    // Text of group n of the last Match; empty when the group is beyond the match or unset.
    QString Groups(int group) const;

    // Replaces every match by Replacement, searching on after each inserted replacement.
    // Gives false, with Subject unchanged, when nothing matched.
    bool ReplaceAll();

private:
    const PcrePattern& compiled();
    bool search(qsizetype from, PcreMatch& match);

    RegexCache* m_cache;
    QString m_regEx;
    PerlRegExOptions m_options;
    PerlRegExStates m_state = PerlRegExState::preNotEmpty;
    QString m_subject;
    QString m_replacement;
    std::shared_ptr<const PcrePattern> m_compiled;
    PcreMatch m_lastMatch;
    bool m_matched = false;
};

}  // namespace larkspan
