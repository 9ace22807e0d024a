#pragma once

#include <QString>
#include <QStringMatcher>
#include <QStringView>

namespace larkspan {

// What a search for a matcher pattern may skip without changing its answer. Every match holds
// literal(); when withinOneLine(), no match holds a line separator either. So a text without
// the literal has no match, and a search may begin at the start of the line where the literal
// first occurs: PCRE2 then no longer tries every position of the lines before it, which for
// patterns that start at a common character (an "=" of the markup) is most of the work. A
// literal that starts the pattern gives no hint: PCRE2 looks for that one as fast itself.
class SearchHint {
public:
    // For a pattern in the matcher's syntax; dotMatchesAll is modifier s. A pattern the analysis
    // does not understand gets an empty hint, which skips nothing.
    static SearchHint forPattern(const QString& pattern, bool dotMatchesAll);

    const QString& literal() const { return m_literal; }
    bool withinOneLine() const { return m_withinOneLine; }

    // Where a search of the subject must begin; -1 when it cannot match at all.
    qsizetype searchStart(QStringView subject) const;

private:
    QString m_literal;
    QStringMatcher m_matcher;
    bool m_withinOneLine = false;
};

}  // namespace larkspan
