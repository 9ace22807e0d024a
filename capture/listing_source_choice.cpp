#include "capture/listing_source_choice.h"

#include "capture/profile_reader.h"

#include <array>
#include <utility>

namespace larkspan {
namespace {

using Kind = ListingSourceChoice::Kind;

constexpr std::array<std::pair<Kind, QLatin1StringView>, 4> kKindNames{{
    {Kind::Directory, QLatin1StringView("directory")},
    {Kind::Structured, QLatin1StringView("structured")},
    {Kind::Automatic, QLatin1StringView("auto")},
    {Kind::Profile, QLatin1StringView("profile")},
}};

const QString kSourceKey = QStringLiteral("source");
const QString kProfileFileKey = QStringLiteral("profileFile");
const QString kProfileContentKey = QStringLiteral("profileContent");
const QString kTakenKey = QStringLiteral("taken");

}  // namespace

QString ListingSourceChoice::nameOf(Kind kind) {
    for (const auto& [known, name] : kKindNames) {
        if (known == kind) {
            return name;
        }
    }
    return {};
}

std::optional<Kind> ListingSourceChoice::kindNamed(const QString& name) {
    for (const auto& [kind, known] : kKindNames) {
        // A profile is chosen by naming the profile.
        if (kind != Kind::Profile && name == known) {
            return kind;
        }
    }
    return std::nullopt;
}

QString ListingSourceChoice::text() const {
    switch (kind) {
        case Kind::Directory:
            return QStringLiteral("directory");
        case Kind::Structured:
            return QStringLiteral("structured data");
        case Kind::Automatic:
            return QStringLiteral("automatic");
        case Kind::Profile:
            break;
    }
    return QStringLiteral("profile ") + profile->name();
}

QJsonObject ListingSourceChoice::toJson() const {
    QJsonObject json{{kSourceKey, nameOf(kind)}};
    if (kind == Kind::Profile) {
        json.insert(kProfileFileKey, profile->file());
        json.insert(kProfileContentKey, QString::fromUtf8(profile->content()));
    }
    return json;
}

ListingSourceChoice ListingSourceChoice::fromJson(const QJsonObject& json) {
    const QString name = json.value(kSourceKey).toString();
    if (name == nameOf(Kind::Profile)) {
        return {Kind::Profile,
                readCaptureProfile(json.value(kProfileContentKey).toString().toUtf8(),
                                   json.value(kProfileFileKey).toString())};
    }
    return {kindNamed(name).value_or(Kind::Directory)};
}

std::optional<ListingSourceChoice> ListingSourceChoice::takenIn(const QJsonObject& settings) {
    if (!settings.contains(kTakenKey)) {
        return std::nullopt;
    }
    return fromJson(settings.value(kTakenKey).toObject());
}

void ListingSourceChoice::keepTaken(QJsonObject& settings,
                                    const std::optional<ListingSourceChoice>& taken) {
    if (taken) {
        settings.insert(kTakenKey, taken->toJson());
    } else {
        settings.remove(kTakenKey);
    }
}

ListingSourceChoice ListingSourceChoice::inUse(const QJsonObject& settings) {
    if (std::optional<ListingSourceChoice> taken = takenIn(settings)) {
        return *taken;
    }
    return fromJson(settings);
}

}  // namespace larkspan
