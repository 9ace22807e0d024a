#pragma once

#include "text/pcre_pattern.h"
#include "text/search_hint.h"

#include <QString>
#include <QStringView>

#include <memory>

namespace larkspan {

// A matcher pattern ready to search: translated to PCRE2 and compiled once, with the hint of
// what its searches may skip, so that any number of matchers can share it.
class RegExprProgram {
public:
    // Throws ERegExpr, with the position in the expression, when it does not compile.
    RegExprProgram(const QString& expression, bool dotMatchesAll, PcrePattern::Jit jit);

    int captureCount() const { return m_pattern->captureCount(); }

    // The leftmost match in the subject, exactly as a search from its first character finds it.
    bool search(QStringView subject, PcreMatch& match) const;

private:
    std::unique_ptr<const PcrePattern> m_pattern;
    SearchHint m_hint;
};

}  // namespace larkspan
