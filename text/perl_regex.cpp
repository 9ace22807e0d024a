#include "text/perl_regex.h"

#include "text/regex_cache.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace larkspan {
namespace {

std::uint32_t compileOptions(PerlRegExOptions options) {
    const std::pair<PerlRegExOption, std::uint32_t> table[] = {
        {PerlRegExOption::preCaseLess, PCRE2_CASELESS},
        {PerlRegExOption::preMultiLine, PCRE2_MULTILINE},
        {PerlRegExOption::preSingleLine, PCRE2_DOTALL},
        {PerlRegExOption::preExtended, PCRE2_EXTENDED},
        {PerlRegExOption::preAnchored, PCRE2_ANCHORED},
        {PerlRegExOption::preUnGreedy, PCRE2_UNGREEDY},
        {PerlRegExOption::preNoAutoCapture, PCRE2_NO_AUTO_CAPTURE},
    };
    std::uint32_t result = 0;
    for (const auto& [option, pcre] : table) {
        if (options.testFlag(option)) {
            result |= pcre;
        }
    }
    return result;
}

std::uint32_t matchOptions(PerlRegExStates state) {
    return (state.testFlag(PerlRegExState::preNotBOL) ? PCRE2_NOTBOL : 0) |
           (state.testFlag(PerlRegExState::preNotEOL) ? PCRE2_NOTEOL : 0) |
           (state.testFlag(PerlRegExState::preNotEmpty) ? PCRE2_NOTEMPTY : 0);
}

}  // namespace

std::shared_ptr<const PcrePattern> compilePerlPattern(const QString& pattern,
                                                      PerlRegExOptions options, RegexCache* cache) {
    return compilePattern(cache, pattern, compileOptions(options), PCRE2_NEWLINE_ANY);
}

TPerlRegEx::TPerlRegEx(RegexCache* cache) : m_cache(cache) {}

void TPerlRegEx::setRegEx(const QString& regEx) {
    if (regEx != m_regEx) {
        m_regEx = regEx;
        m_compiled.reset();
    }
}

void TPerlRegEx::setOptions(PerlRegExOptions options) {
    if (options != m_options) {
        m_options = options;
        m_compiled.reset();
    }
}

void TPerlRegEx::setSubject(const QString& subject) {
    m_subject = subject;
    m_matched = false;
}

const PcrePattern& TPerlRegEx::compiled() {
    if (!m_compiled) {
        m_compiled = compilePerlPattern(m_regEx, m_options, m_cache);
    }
    return *m_compiled;
}

bool TPerlRegEx::search(qsizetype from, PcreMatch& match) {
    return compiled().search(m_subject, from, matchOptions(m_state), match);
}

bool TPerlRegEx::Match() {
    m_matched = search(0, m_lastMatch);
    return m_matched;
}

QString TPerlRegEx::Groups(int group) const {
    if (!m_matched || group < 0 || group >= static_cast<int>(m_lastMatch.groups.size())) {
        return {};
    }
    const auto& span = m_lastMatch.groups[static_cast<std::size_t>(group)];
    return span.isSet() ? m_subject.mid(span.start, span.end - span.start) : QString();
}

bool TPerlRegEx::ReplaceAll() {
    PcreMatch match;
    qsizetype from = 0;
    bool replaced = false;
    while (from <= m_subject.size() && search(from, match)) {
        const auto& whole = match.groups.front();
        m_subject.replace(whole.start, whole.end - whole.start, m_replacement);
        // An empty match (possible once preNotEmpty is cleared) must still move on.
        from = whole.start + m_replacement.size() + (whole.end == whole.start ? 1 : 0);
        replaced = true;
    }
    m_matched = false;
    return replaced;
}

}  // namespace larkspan
