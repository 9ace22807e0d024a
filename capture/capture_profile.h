#pragma once

#include "capture/profile_address_pattern.h"
#include "capture/profile_field_rule.h"
#include "capture/result_fields.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QUrl;

namespace larkspan {

// How a profile finds the link to the next result page.
struct NextLinkRule {
    enum class Kind {
        // The directory's own rule: the link whose text is "NEXT »".
        Directory,
        // The first element the selector finds.
        Selector,
        // The link whose text is exactly this.
        Text,
    };
    Kind kind = Kind::Directory;
    QString value = {};
};

// A selector of the profile, with the key that holds it, so an error can point at it.
struct ProfileSelector {
    QString key;
    QString selector;
};

// Where the fourteen fields are on one site's result pages: a profile read from its JSON file
// (see capture/profile_reader.h). A value: copies share the compiled patterns.
class CaptureProfile {
public:
    using FieldRules = std::array<std::optional<ProfileFieldRule>, kResultColumnCount>;
    // What is wrong with a selector, or nothing when the engine takes it.
    using SelectorValidator = std::function<std::optional<QString>(const QString& selector)>;

    CaptureProfile(QString file, QByteArray content, QString name,
                   QList<ProfileAddressPattern> matches, QString listingSelector, FieldRules fields,
                   NextLinkRule next, QString waitFor, QList<ProfileSelector> selectors);

    // The file it was read from, as its errors name it.
    const QString& file() const { return m_file; }
    // The file's bytes as read: a run keeps them, so that resuming it uses the same rules.
    const QByteArray& content() const { return m_content; }
    const QString& name() const { return m_name; }
    const QList<ProfileAddressPattern>& matches() const { return m_matches; }
    const QString& listingSelector() const { return m_listingSelector; }
    // In result line order; nothing for a field the profile leaves empty.
    const FieldRules& fields() const { return m_fields; }
    const NextLinkRule& next() const { return m_next; }
    // A selector the page has to show before it is read; empty for none.
    const QString& waitFor() const { return m_waitFor; }

    // True when one of its address patterns covers the address.
    bool matchesAddress(const QUrl& address) const;

    // Every selector is checked before a page is loaded; only the engine knows which it takes.
    // Throws ProfileError naming the file and key of the first one the validator rejects.
    void checkSelectors(const SelectorValidator& validator) const;

private:
    QString m_file;
    QByteArray m_content;
    QString m_name;
    QList<ProfileAddressPattern> m_matches;
    QString m_listingSelector;
    FieldRules m_fields;
    NextLinkRule m_next;
    QString m_waitFor;
    QList<ProfileSelector> m_selectors;
};

}  // namespace larkspan
