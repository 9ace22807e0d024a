#include "cli/output_file_mark.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/stat.h>

namespace larkspan {

OutputFileMark OutputFileMark::of(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return {};
    }
    return {true, quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size)};
}

std::optional<OutputFileMark> OutputFileMark::fromText(const QString& text) {
    const QJsonObject json = QJsonDocument::fromJson(text.toUtf8()).object();
    if (json.isEmpty()) {
        return std::nullopt;
    }
    if (!json.value(QStringLiteral("exists")).toBool()) {
        return OutputFileMark{};
    }
    bool deviceRead = false;
    bool inodeRead = false;
    const OutputFileMark mark{
        true, json.value(QStringLiteral("device")).toString().toULongLong(&deviceRead),
        json.value(QStringLiteral("inode")).toString().toULongLong(&inodeRead),
        json.value(QStringLiteral("size")).toInteger(-1)};
    if (!deviceRead || !inodeRead || mark.size < 0) {
        return std::nullopt;
    }
    return mark;
}

QString OutputFileMark::toText() const {
    QJsonObject json{{QStringLiteral("exists"), exists}};
    if (exists) {
        // As text: an inode may not fit a JSON number exactly.
        json.insert(QStringLiteral("device"), QString::number(device));
        json.insert(QStringLiteral("inode"), QString::number(inode));
        json.insert(QStringLiteral("size"), size);
    }
    return QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact));
}

bool OutputFileMark::stillDescribes(const OutputFileMark& now) const {
    if (!now.exists) {
        return true;
    }
    return exists && now.device == device && now.inode == inode && now.size >= size;
}

}  // namespace larkspan
