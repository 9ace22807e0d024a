#include "capture/capture_profile.h"

#include "capture/profile_error.h"

#include <QUrl>

#include <algorithm>

namespace larkspan {

CaptureProfile::CaptureProfile(QString file, QByteArray content, QString name,
                               QList<ProfileAddressPattern> matches, QString listingSelector,
                               FieldRules fields, NextLinkRule next, QString waitFor,
                               QList<ProfileSelector> selectors)
    : m_file(std::move(file)),
      m_content(std::move(content)),
      m_name(std::move(name)),
      m_matches(std::move(matches)),
      m_listingSelector(std::move(listingSelector)),
      m_fields(std::move(fields)),
      m_next(std::move(next)),
      m_waitFor(std::move(waitFor)),
      m_selectors(std::move(selectors)) {}

bool CaptureProfile::matchesAddress(const QUrl& address) const {
    return std::any_of(
        m_matches.cbegin(), m_matches.cend(),
        [&address](const ProfileAddressPattern& pattern) { return pattern.matches(address); });
}

void CaptureProfile::checkSelectors(const SelectorValidator& validator) const {
    for (const ProfileSelector& selector : m_selectors) {
        if (const std::optional<QString> wrong = validator(selector.selector)) {
            throw ProfileError(
                (m_file + QStringLiteral(": ") + selector.key + QStringLiteral(": ") + *wrong)
                    .toStdString());
        }
    }
}

}  // namespace larkspan
