#include "capture/output_file.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace larkspan {
namespace {

using namespace std::chrono_literals;

// A pipe takes a write of this size whole as soon as it reports room.
constexpr qsizetype kStreamChunk = PIPE_BUF;
constexpr std::chrono::milliseconds kReaderPoll = 100ms;

bool writeAll(int descriptor, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Keeps the event loop running until the descriptor takes bytes again; false when the
// application quits meanwhile (an interrupt).
bool waitUntilWritable(int descriptor) {
    pollfd poll{descriptor, POLLOUT, 0};
    if (::poll(&poll, 1, 0) > 0) {
        return true;
    }
    QEventLoop loop;
    bool writable = false;
    QSocketNotifier notifier(descriptor, QSocketNotifier::Write);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&loop, &writable] {
        writable = true;
        loop.quit();
    });
    loop.exec();
    return writable;
}

// A pause with the event loop running; false when the application quits meanwhile.
bool pauseAWhile() {
    QEventLoop loop;
    bool paused = false;
    QTimer::singleShot(kReaderPoll, &loop, [&loop, &paused] {
        paused = true;
        loop.quit();
    });
    loop.exec();
    return paused;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

QString replacementFailure(const QString& path, const QString& reason) {
    const QByteArray name = QFile::encodeName(path);
    if (::access(name.constData(), W_OK) != 0) {
        // A file not there yet would have been made where its replacement was.
        return QStringLiteral("cannot write ") + path + QStringLiteral(": ") +
               (errno == ENOENT ? reason : qt_error_string(errno));
    }
    return QStringLiteral("cannot write ") + path + QStringLiteral(": cannot make a new file in ") +
           QFileInfo(path).absolutePath() + QStringLiteral(" to replace it: ") + reason;
}

OutputFile::OutputFile(QString path) : m_path(path), m_name(std::move(path)) {}

OutputFile::OutputFile(QString name, int streamDescriptor)
    : m_name(std::move(name)), m_mode(Mode::Stream), m_descriptor(streamDescriptor) {}

OutputFile OutputFile::standardOutput() {
    return OutputFile(QStringLiteral("standard output"), STDOUT_FILENO);
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : m_path(std::move(other.m_path)),
      m_name(std::move(other.m_name)),
      m_mode(other.m_mode),
      m_descriptor(std::exchange(other.m_descriptor, -1)),
      m_ownsDescriptor(std::exchange(other.m_ownsDescriptor, false)),
      m_size(other.m_size) {}

OutputFile::~OutputFile() {
    if (m_ownsDescriptor) {
        ::close(m_descriptor);
    }
}

void OutputFile::append(const QByteArray& bytes) {
    switch (m_mode) {
        case Mode::NotOpened:
            open(bytes);
            return;
        case Mode::RegularFile:
            appendToRegularFile(bytes);
            return;
        case Mode::Stream:
            writeToStream(bytes);
            return;
    }
}

void OutputFile::open(const QByteArray& firstBatch) {
    // Through a link to the file it names, as a save through the link would.
    const QFileInfo info(m_path);
    const QByteArray target = QFile::encodeName(info.exists() ? info.canonicalFilePath() : m_path);
    struct stat status {};
    if (::stat(target.constData(), &status) == 0 && !S_ISREG(status.st_mode)) {
        // Replacing a device or a pipe with a file would break whatever else relies on it.
        openStream(target);
        writeToStream(firstBatch);
        return;
    }
    replaceRegularFile(target, firstBatch);
}

void OutputFile::replaceRegularFile(const QByteArray& target, const QByteArray& firstBatch) {
    struct stat existing {};
    const mode_t mode =
        ::stat(target.constData(), &existing) == 0 ? existing.st_mode & 07777 : newFileMode();
    QByteArray temporary = target + ".XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) {
        throw OutputFileError(replacementFailure(m_name, qt_error_string(errno)).toStdString());
    }
    if (::fchmod(descriptor, mode) != 0 ||
        !writeAll(descriptor, firstBatch.constData(), firstBatch.size()) ||
        ::fsync(descriptor) != 0 || ::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::close(descriptor);
        ::unlink(temporary.constData());
        fail(error);
    }
    // Later batches go on through the same descriptor, which the rename has left valid.
    m_mode = Mode::RegularFile;
    m_descriptor = descriptor;
    m_ownsDescriptor = true;
    m_size = firstBatch.size();
}

void OutputFile::appendToRegularFile(const QByteArray& bytes) {
    if (!writeAll(m_descriptor, bytes.constData(), bytes.size()) ||
        ::fdatasync(m_descriptor) != 0) {
        const int error = errno;
        // Shortening a file needs no free space, so this holds also on a full disk.
        if (::ftruncate(m_descriptor, m_size) == 0) {
            ::lseek(m_descriptor, m_size, SEEK_SET);
        }
        fail(error);
    }
    m_size += bytes.size();
}

void OutputFile::openStream(const QByteArray& path) {
    // A named pipe opened for writing would block until a reader comes; wait for one with the
    // event loop running instead.
    int descriptor = -1;
    while ((descriptor = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0) {
        if (errno != ENXIO) {
            fail(errno);
        }
        if (!pauseAWhile()) {
            failWaiting();
        }
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    m_mode = Mode::Stream;
    m_descriptor = descriptor;
    m_ownsDescriptor = true;
}

void OutputFile::writeToStream(const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        if (!waitUntilWritable(m_descriptor)) {
            failWaiting();
        }
        const ssize_t written =
            ::write(m_descriptor, data, static_cast<size_t>(std::min(left, kStreamChunk)));
        if (written < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            fail(errno);
        }
        data += written;
        left -= written;
    }
}

void OutputFile::fail(int error) const {
    throw OutputFileError(
        QStringLiteral("cannot write %1: %2").arg(m_name, qt_error_string(error)).toStdString());
}

void OutputFile::failWaiting() const {
    throw OutputFileError(QStringLiteral("cannot write %1: interrupted while waiting for a reader")
                              .arg(m_name)
                              .toStdString());
}

}  // namespace larkspan
