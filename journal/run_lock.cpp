#include "journal/run_lock.h"

#include "journal/journal_error.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace larkspan {
namespace {

// Whether the descriptor still opens the file the path names: a holder removes the file as it
// lets go, and whoever locked it meanwhile holds nothing.
bool stillNamed(int descriptor, const QByteArray& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(descriptor, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
           opened.st_ino == named.st_ino && opened.st_dev == named.st_dev;
}

// The file must outlast a power loss: without it, the run would pass for one that ended.
void syncFolderOf(const QByteArray& path) {
    const int folder =
        ::open(QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath()).constData(),
               O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

}  // namespace

RunLock::RunLock(QString path, int descriptor)
    : m_path(std::move(path)), m_descriptor(descriptor) {}

std::unique_ptr<RunLock> RunLock::tryHold(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    for (;;) {
        const int descriptor = ::open(name.constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
        if (descriptor < 0) {
            throw JournalError(QStringLiteral("cannot make %1: %2")
                                   .arg(path, qt_error_string(errno))
                                   .toStdString());
        }
        // Locks taken with flock() belong to one opening of the file, so a second opening in
        // the same process is refused like one in any other.
        if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            ::close(descriptor);
            return nullptr;
        }
        if (stillNamed(descriptor, name)) {
            syncFolderOf(name);
            return std::unique_ptr<RunLock>(new RunLock(path, descriptor));
        }
        ::close(descriptor);
    }
}

bool RunLock::isHeld(const QString& path) {
    // Asking needs no writing, so it works in a folder that cannot be written.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool held = ::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(descriptor);
    return held;
}

RunLock::~RunLock() {
    if (!m_leaveFile) {
        QFile::remove(m_path);
    }
    ::close(m_descriptor);
}

}  // namespace larkspan
