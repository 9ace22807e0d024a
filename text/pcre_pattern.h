#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace larkspan {

// A pattern that PCRE2 refused to compile; offset is in code units of the compiled pattern.
class PcreCompileError : public std::runtime_error {
public:
    PcreCompileError(const QString& message, int code, qsizetype offset);
    int code() const { return m_code; }
    qsizetype offset() const { return m_offset; }

private:
    int m_code;
    qsizetype m_offset;
};

// Start and end offsets of every group of one match; -1 for a group that took no part. It also
// keeps PCRE2's working memory between searches, so a search allocates nothing once warm.
class PcreMatch {
public:
    struct Span {
        qsizetype start = -1;
        qsizetype end = -1;
        bool isSet() const { return start >= 0; }
    };
    std::vector<Span> groups;

    PcreMatch();
    ~PcreMatch();
    PcreMatch(PcreMatch&&) noexcept;
    PcreMatch& operator=(PcreMatch&&) noexcept;

private:
    friend class PcrePattern;
    struct Data;
    std::unique_ptr<Data> m_data;
};

// One compiled PCRE2 (16-bit) pattern. Immutable once built, so one compilation can serve
// any number of searches. Every search runs under match, depth and heap limits: a pattern
// that backtracks without end on hostile input gives "no match" instead of hanging.
class PcrePattern {
public:
    enum class Jit { Off, On };

    PcrePattern(QStringView pattern, std::uint32_t compileOptions, std::uint32_t newline, Jit jit);
    ~PcrePattern();
    PcrePattern(const PcrePattern&) = delete;
    PcrePattern& operator=(const PcrePattern&) = delete;

    int captureCount() const { return m_captureCount; }

    // Searches subject[0, length) from startOffset. Gives false when nothing matched or a
    // limit was reached.
    bool search(QStringView subject, qsizetype startOffset, std::uint32_t matchOptions,
                PcreMatch& match) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    int m_captureCount = 0;
};

}  // namespace larkspan
