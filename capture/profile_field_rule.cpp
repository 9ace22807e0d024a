#include "capture/profile_field_rule.h"

#include "text/pcre_pattern.h"

namespace larkspan {

ProfileFieldRule::ProfileFieldRule(QString selector, QString attribute,
                                   std::shared_ptr<const PcrePattern> pattern)
    : m_selector(std::move(selector)),
      m_attribute(std::move(attribute)),
      m_pattern(std::move(pattern)) {}

QString ProfileFieldRule::valueOf(const QString& found) const {
    QString value = found.simplified();
    if (!m_pattern) {
        return value;
    }
    PcreMatch match;
    if (!m_pattern->search(value, 0, 0, match)) {
        return {};
    }
    const PcreMatch::Span& span = match.groups[m_pattern->captureCount() > 0 ? 1 : 0];
    return span.isSet() ? value.mid(span.start, span.end - span.start).trimmed() : QString();
}

}  // namespace larkspan
