#pragma once

#include "capture/listing_source_choice.h"

#include <QList>
#include <QString>

namespace larkspan {

class ProfileFolder;

// Where the window's capture runs take their listings from, as the settings keep it:
// "directory", "structured", "auto", or "profile:NAME" for the saved profile NAME.json.
struct ListingsFrom {
    ListingSourceChoice::Kind kind = ListingSourceChoice::Kind::Directory;
    QString profileName = {};
    // The name the profile gives itself, for the label; empty when not read.
    QString profileTitle = {};

    // The directory for a text that names nothing known.
    static ListingsFrom fromSettingText(const QString& text);
    QString settingText() const;
    // As the Options dialog lists it: "Directory", "Structured data", "Automatic",
    // "Profile: TITLE (NAME)".
    QString label() const;

    // The three sources, then each profile saved in the folder.
    static QList<ListingsFrom> offered(const ProfileFolder& folder);

    // The choice a run starts with: a profile is read from the folder and its selectors checked
    // by the engine. Throws ProfileError.
    ListingSourceChoice choice(const ProfileFolder& folder) const;

    // The same choice, however it is labelled.
    bool operator==(const ListingsFrom& other) const {
        return kind == other.kind && profileName == other.profileName;
    }
};

}  // namespace larkspan
