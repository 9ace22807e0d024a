#include "shell/listings_from.h"

#include "browser/selector_check.h"
#include "capture/profile_folder.h"

#include <QFileInfo>

namespace larkspan {
namespace {

using Kind = ListingSourceChoice::Kind;

const QString kProfilePrefix = QStringLiteral("profile:");

}  // namespace

ListingsFrom ListingsFrom::fromSettingText(const QString& text) {
    if (text.startsWith(kProfilePrefix) && text.size() > kProfilePrefix.size()) {
        return {Kind::Profile, text.mid(kProfilePrefix.size())};
    }
    const std::optional<Kind> kind = ListingSourceChoice::kindNamed(text);
    return {kind.value_or(Kind::Directory)};
}

QString ListingsFrom::settingText() const {
    if (kind == Kind::Profile) {
        return kProfilePrefix + profileName;
    }
    return ListingSourceChoice::nameOf(kind);
}

QString ListingsFrom::label() const {
    if (kind != Kind::Profile) {
        // The run's own words for it, as a label starts.
        QString text = ListingSourceChoice{kind}.text();
        text[0] = text[0].toUpper();
        return text;
    }
    return QStringLiteral("Profile: ") +
           (profileTitle.isEmpty() ? profileName
                                   : profileTitle + QStringLiteral(" (") + profileName + u')');
}

QList<ListingsFrom> ListingsFrom::offered(const ProfileFolder& folder) {
    QList<ListingsFrom> offered{{Kind::Directory}, {Kind::Structured}, {Kind::Automatic}};
    for (const CaptureProfile& profile : folder.readAll().profiles) {
        offered.append(
            {Kind::Profile, QFileInfo(profile.file()).completeBaseName(), profile.name()});
    }
    return offered;
}

ListingSourceChoice ListingsFrom::choice(const ProfileFolder& folder) const {
    if (kind != Kind::Profile) {
        return {kind};
    }
    CaptureProfile profile = folder.find(profileName);
    browser::SelectorCheck check;
    profile.checkSelectors([&check](const QString& selector) { return check.problemOf(selector); });
    return {kind, std::move(profile)};
}

}  // namespace larkspan
