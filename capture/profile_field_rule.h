#pragma once

#include <QString>

#include <memory>

namespace larkspan {

class PcrePattern;

// Where a profile finds one field inside a listing's element, and how the field's value is
// taken from what is found there.
class ProfileFieldRule {
public:
    // An empty attribute means the element's rendered text; a null pattern takes it whole.
    ProfileFieldRule(QString selector, QString attribute,
                     std::shared_ptr<const PcrePattern> pattern);

    // ":scope" stands for the listing's element itself.
    const QString& selector() const { return m_selector; }
    const QString& attribute() const { return m_attribute; }

    // The field's value from the text or attribute the page gave: white space collapsed to
    // single blanks and trimmed; with a pattern, its first group (or its whole match when it has
    // no group), trimmed again, and empty when the pattern does not match.
    QString valueOf(const QString& found) const;

private:
    QString m_selector;
    QString m_attribute;
    std::shared_ptr<const PcrePattern> m_pattern;
};

}  // namespace larkspan
