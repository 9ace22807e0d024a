#include "cli/capture_source.h"

#include "cli/command_line.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <stdexcept>

namespace larkspan {
namespace {

const QStringList kLoadableSchemes{QStringLiteral("http"), QStringLiteral("https"),
                                   QStringLiteral("file"), QStringLiteral("data")};

[[noreturn]] void refuse(const QString& source, const QString& reason) {
    throw UsageError(
        (QStringLiteral("cannot load ") + source + QStringLiteral(": ") + reason).toStdString());
}

// "scheme:..." but not "host:port/...", which is a web address without its scheme.
bool namesItsScheme(const QString& source) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?![0-9])"));
    return source.contains(QStringLiteral("://")) || scheme.match(source).hasMatch();
}

// QUrl's reason, without its repetition of the address.
QString reasonOf(const QUrl& url) {
    return url.errorString().section(QStringLiteral("; source was"), 0, 0);
}

}  // namespace

QUrl captureSource(const QString& source) {
    const QFileInfo file(source);
    if (file.exists()) {
        return QUrl::fromLocalFile(file.absoluteFilePath());
    }
    const QUrl url = namesItsScheme(source)
                         ? QUrl(source)
                         : QUrl::fromUserInput(source, QDir::currentPath(), QUrl::AssumeLocalFile);
    if (!url.isValid()) {
        refuse(source, reasonOf(url));
    }
    if (!kLoadableSchemes.contains(url.scheme(), Qt::CaseInsensitive)) {
        refuse(source, QStringLiteral("the source is a file, or an http, https, file or data "
                                      "address"));
    }
    // The engine drops such a web address without a word.
    const bool web = url.scheme().startsWith(QStringLiteral("http"), Qt::CaseInsensitive);
    if (web && url.toString(QUrl::FullyEncoded | QUrl::RemoveQuery | QUrl::RemoveFragment)
                   .contains(QStringLiteral("%00"))) {
        refuse(source, QStringLiteral("the browser loads no address with %00 before its query"));
    }
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        throw std::runtime_error(
            (QStringLiteral("cannot read ") + source + QStringLiteral(": No such file"))
                .toStdString());
    }
    return url;
}

}  // namespace larkspan
