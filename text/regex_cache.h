#pragma once

#include "text/pcre_pattern.h"

#include <QHash>
#include <QString>

#include <memory>

namespace larkspan {

// Compiled patterns shared by the matchers of one run, so a pattern used on every listing is
// compiled (and JIT-compiled) once instead of once per listing.
class RegexCache {
public:
    std::shared_ptr<const PcrePattern> pattern(const QString& pcre, std::uint32_t compileOptions,
                                               std::uint32_t newline);

private:
    struct Key {
        QString pcre;
        std::uint32_t options;
        std::uint32_t newline;
        friend bool operator==(const Key&, const Key&) = default;
        friend size_t qHash(const Key& key, size_t seed) {
            return qHashMulti(seed, key.pcre, key.options, key.newline);
        }
    };
    QHash<Key, std::shared_ptr<const PcrePattern>> m_patterns;
};

// Compiles through the cache when there is one; a one-off pattern skips the costly JIT step.
std::shared_ptr<const PcrePattern> compilePattern(RegexCache* cache, const QString& pcre,
                                                  std::uint32_t compileOptions,
                                                  std::uint32_t newline);

}  // namespace larkspan
