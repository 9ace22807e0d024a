#pragma once

#include "capture/capture_profile.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace larkspan {

// Which source a run takes its listings from, as the user chose it and the journal keeps it.
struct ListingSourceChoice {
    enum class Kind {
        Directory,   // the directory's listing classes (the default)
        Structured,  // the page's schema.org records
        Automatic,   // decided on the first page of each run
        Profile,     // a capture profile
    };
    Kind kind = Kind::Directory;
    // For Profile.
    std::optional<CaptureProfile> profile = {};

    // The kind named "directory", "structured" or "auto"; nothing for any other name.
    static std::optional<Kind> kindNamed(const QString& name);
    // "directory", "structured", "auto", "profile".
    static QString nameOf(Kind kind);

    // For the user: "directory", "structured data", "automatic", "profile NAME".
    QString text() const;

    // {"source": NAME} with, for a profile, its file and its content as read: a resumed run
    // uses the same rules even when the file changed since.
    QJsonObject toJson() const;
    // What toJson() gave; the directory for a run recorded before sources were chosen. Throws
    // ProfileError when a kept profile no longer reads.
    static ListingSourceChoice fromJson(const QJsonObject& json);

    // What an automatic choice took, as a run's settings keep it beside the choice; nothing
    // before the first page was read. Throws ProfileError as fromJson does.
    static std::optional<ListingSourceChoice> takenIn(const QJsonObject& settings);
    // Puts what was taken into the settings, or takes it out for nothing.
    static void keepTaken(QJsonObject& settings, const std::optional<ListingSourceChoice>& taken);
    // The source a run's pages are read with: what an automatic choice took, else its own.
    static ListingSourceChoice inUse(const QJsonObject& settings);
};

}  // namespace larkspan
