#include "capture/profile_folder.h"

#include "capture/profile_error.h"
#include "capture/profile_reader.h"
#include "capture/user_base_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace larkspan {
namespace {

const QString kExtension = QStringLiteral(".json");

bool isFileName(const QString& nameOrFile) {
    return nameOrFile.contains(u'/') || nameOrFile.contains(QDir::separator()) ||
           nameOrFile.endsWith(kExtension, Qt::CaseInsensitive);
}

}  // namespace

const CaptureProfile* SavedProfiles::matching(const QUrl& address) const {
    for (const CaptureProfile& profile : profiles) {
        if (profile.matchesAddress(address)) {
            return &profile;
        }
    }
    return nullptr;
}

ProfileFolder::ProfileFolder(QString path) : m_path(std::move(path)) {}

QString ProfileFolder::defaultPath() {
    return userBaseFolder(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/larkspan/profiles");
}

SavedProfiles ProfileFolder::readAll() const {
    SavedProfiles saved;
    const QFileInfoList files =
        QDir(m_path).entryInfoList({u'*' + kExtension}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        try {
            saved.profiles.append(readCaptureProfileFile(file.filePath()));
        } catch (const ProfileError& error) {
            saved.errors.append(QString::fromUtf8(error.what()));
        }
    }
    return saved;
}

CaptureProfile ProfileFolder::find(const QString& nameOrFile) const {
    if (isFileName(nameOrFile)) {
        return readCaptureProfileFile(nameOrFile);
    }
    const QString file = QDir(m_path).filePath(nameOrFile + kExtension);
    if (!QFileInfo::exists(file)) {
        throw ProfileError(
            (QStringLiteral("no saved profile '") + nameOrFile + QStringLiteral("' in ") + m_path)
                .toStdString());
    }
    return readCaptureProfileFile(file);
}

QString ProfileFolder::save(const QString& name, const QByteArray& content) const {
    if (name.trimmed().isEmpty() || name.startsWith(u'.') || name.contains(u'/') ||
        name.contains(u'\\') || name.contains(QChar(0))) {
        throw ProfileError((QStringLiteral("'") + name +
                            QStringLiteral("' cannot name a profile: give a name without / or "
                                           "\\ that does not start with a dot"))
                               .toStdString());
    }
    const QString path = QDir(m_path).filePath(name + kExtension);
    QSaveFile file(path);
    if (!QDir().mkpath(m_path) || !file.open(QIODevice::WriteOnly) ||
        file.write(content) != content.size() || !file.commit()) {
        throw ProfileError(
            (QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString())
                .toStdString());
    }
    return path;
}

}  // namespace larkspan
