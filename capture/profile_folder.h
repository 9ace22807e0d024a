#pragma once

#include "capture/capture_profile.h"

#include <QList>
#include <QString>
#include <QStringList>

class QUrl;

namespace larkspan {

// The saved profiles that read, and what is wrong with those that do not.
struct SavedProfiles {
    // In the order of their file names.
    QList<CaptureProfile> profiles;
    // One message for each file that is no usable profile.
    QStringList errors;

    // The first profile whose address patterns cover the address; null for none.
    const CaptureProfile* matching(const QUrl& address) const;
};

// The folder the user keeps profiles in, one file NAME.json each: larkspan/profiles in the
// user's configuration folder (~/.config, or an absolute XDG_CONFIG_HOME).
class ProfileFolder {
public:
    explicit ProfileFolder(QString path = defaultPath());
    static QString defaultPath();

    const QString& path() const { return m_path; }

    // Every saved profile; a folder that is not there yet holds none.
    SavedProfiles readAll() const;

    // A profile given by the user: a file when the text holds a folder separator or ends in
    // .json, otherwise the name of a saved profile. Throws ProfileError when there is no such
    // profile or it does not read.
    CaptureProfile find(const QString& nameOrFile) const;

    // Writes the profile's file NAME.json (the folder made when missing), whole or not at all,
    // in place of an earlier one; gives its path. A NAME is what a file name can hold, without
    // a folder separator or a leading dot. Throws ProfileError for another NAME or a failed
    // write.
    QString save(const QString& name, const QByteArray& content) const;

private:
    QString m_path;
};

}  // namespace larkspan
