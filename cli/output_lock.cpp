#include "cli/output_lock.h"

#include "cli/results_output.h"
#include "journal/run_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <stdexcept>

namespace larkspan {
namespace {

// The same file under any of its names; one not made yet by its folder's real path.
QString realPath(const QString& path) {
    const QFileInfo file(path);
    if (file.exists()) {
        return file.canonicalFilePath();
    }
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? file.absoluteFilePath() : folder + u'/' + file.fileName();
}

// In the session's runtime folder, emptied with the session, so the files of killed runs do not
// pile up; without one, in the user's cache folder (Qt would make a runtime folder of its own,
// and say so on standard error).
QString lockPathFor(const QString& outputPath) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder =
        (QDir::isAbsolutePath(runtime)
             ? runtime
             : QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)) +
        QStringLiteral("/larkspan");
    if (!QDir().mkpath(folder)) {
        throw std::runtime_error(QStringLiteral("cannot make %1 for the lock of %2")
                                     .arg(folder, outputPath)
                                     .toStdString());
    }
    const QByteArray key =
        QCryptographicHash::hash(realPath(outputPath).toUtf8(), QCryptographicHash::Sha256).toHex();
    return folder + QStringLiteral("/output-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}

}  // namespace

OutputLock::OutputLock(const QString& path) {
    if (path.isEmpty() || !isReplaceable(path)) {
        return;
    }
    m_lock = RunLock::tryHold(lockPathFor(path));
    if (!m_lock) {
        throw std::runtime_error(
            QStringLiteral("cannot write %1: another capture run is writing it")
                .arg(path)
                .toStdString());
    }
}

OutputLock::~OutputLock() = default;

}  // namespace larkspan
