#include "text/regex_cache.h"

namespace larkspan {

std::shared_ptr<const PcrePattern> RegexCache::pattern(const QString& pcre,
                                                       std::uint32_t compileOptions,
                                                       std::uint32_t newline) {
    const PatternKey key{pcre, compileOptions, newline};
    auto found = m_patterns.constFind(key);
    if (found != m_patterns.constEnd()) {
        return *found;
    }
    auto compiled =
        std::make_shared<const PcrePattern>(pcre, compileOptions, newline, PcrePattern::Jit::On);
    m_patterns.insert(key, compiled);
    return compiled;
}

std::shared_ptr<const RegExprProgram> RegexCache::program(const QString& expression,
                                                          bool dotMatchesAll) {
    const ProgramKey key{expression, dotMatchesAll};
    auto found = m_programs.constFind(key);
    if (found != m_programs.constEnd()) {
        return *found;
    }
    auto compiled =
        std::make_shared<const RegExprProgram>(expression, dotMatchesAll, PcrePattern::Jit::On);
    m_programs.insert(key, compiled);
    return compiled;
}

std::shared_ptr<const PcrePattern> compilePattern(RegexCache* cache, const QString& pcre,
                                                  std::uint32_t compileOptions,
                                                  std::uint32_t newline) {
    if (cache != nullptr) {
        return cache->pattern(pcre, compileOptions, newline);
    }
    return std::make_shared<const PcrePattern>(pcre, compileOptions, newline,
                                               PcrePattern::Jit::Off);
}

std::shared_ptr<const RegExprProgram> compileProgram(RegexCache* cache, const QString& expression,
                                                     bool dotMatchesAll) {
    if (cache != nullptr) {
        return cache->program(expression, dotMatchesAll);
    }
    return std::make_shared<const RegExprProgram>(expression, dotMatchesAll, PcrePattern::Jit::Off);
}

}  // namespace larkspan
