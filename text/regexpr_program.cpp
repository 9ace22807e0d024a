#include "text/regexpr_program.h"

#include "text/regexpr.h"
#include "text/regexpr_syntax.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace larkspan {

RegExprProgram::RegExprProgram(const QString& expression, bool dotMatchesAll, PcrePattern::Jit jit)
    : m_hint(SearchHint::forPattern(expression, dotMatchesAll)) {
    const TranslatedPattern translated = translateRegExprPattern(expression, dotMatchesAll);
    const std::uint32_t options = PCRE2_DOLLAR_ENDONLY | (dotMatchesAll ? PCRE2_DOTALL : 0);
    try {
        m_pattern =
            std::make_unique<const PcrePattern>(translated.pcre, options, PCRE2_NEWLINE_ANY, jit);
    } catch (const PcreCompileError& error) {
        const qsizetype pos = translated.sourcePosition(error.offset()) + 1;
        throw ERegExpr(QStringLiteral("Invalid expression at position %1: %2")
                           .arg(QString::number(pos), QString::fromStdString(error.what())),
                       error.code(), pos);
    }
}

bool RegExprProgram::search(QStringView subject, PcreMatch& match) const {
    const qsizetype start = m_hint.searchStart(subject);
    if (start < 0) {
        match.groups.clear();
        return false;
    }
    return m_pattern->search(subject, start, 0, match);
}

}  // namespace larkspan
