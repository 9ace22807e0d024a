#pragma once

#include "text/pcre_pattern.h"
#include "text/regexpr_program.h"

#include <QHash>
#include <QString>

#include <memory>

namespace larkspan {

// Compiled patterns shared by the matchers of one run, so a pattern used on every listing is
// translated and compiled (and JIT-compiled) once instead of once per listing.
class RegexCache {
public:
    // A PCRE2 pattern as TPerlRegEx compiles it.
    std::shared_ptr<const PcrePattern> pattern(const QString& pcre, std::uint32_t compileOptions,
                                               std::uint32_t newline);
    // A matcher pattern as TRegExpr compiles it; keyed by what the caller wrote, so a pattern
    // found here is not translated again.
    std::shared_ptr<const RegExprProgram> program(const QString& expression, bool dotMatchesAll);

private:
    struct PatternKey {
        QString pcre;
        std::uint32_t options;
        std::uint32_t newline;
        friend bool operator==(const PatternKey&, const PatternKey&) = default;
        friend size_t qHash(const PatternKey& key, size_t seed) {
            return qHashMulti(seed, key.pcre, key.options, key.newline);
        }
    };
    struct ProgramKey {
        QString expression;
        bool dotMatchesAll;
        friend bool operator==(const ProgramKey&, const ProgramKey&) = default;
        friend size_t qHash(const ProgramKey& key, size_t seed) {
            return qHashMulti(seed, key.expression, key.dotMatchesAll);
        }
    };
    QHash<PatternKey, std::shared_ptr<const PcrePattern>> m_patterns;
    QHash<ProgramKey, std::shared_ptr<const RegExprProgram>> m_programs;
};

// Compile through the cache when there is one; a one-off pattern skips the costly JIT step.
std::shared_ptr<const PcrePattern> compilePattern(RegexCache* cache, const QString& pcre,
                                                  std::uint32_t compileOptions,
                                                  std::uint32_t newline);
std::shared_ptr<const RegExprProgram> compileProgram(RegexCache* cache, const QString& expression,
                                                     bool dotMatchesAll);

}  // namespace larkspan
