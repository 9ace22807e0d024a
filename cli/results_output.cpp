#include "cli/results_output.h"

#include "capture/results_file.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace larkspan {
namespace {

// Files are replaced as a whole; anything else (a device, a named pipe) cannot be, and
// renaming over it would put a regular file in its place.
bool isReplaceable(const QString& path) {
    const QFileInfo target(path);
    return !target.exists() || target.isFile();
}

}  // namespace

ResultsOutput::ResultsOutput(const QString& path) : m_path(path) {
    bool opened = false;
    if (path.isEmpty()) {
        auto out = std::make_unique<QFile>();
        opened = out->open(stdout, QIODevice::WriteOnly);
        m_device = std::move(out);
    } else if (isReplaceable(path)) {
        m_device = std::make_unique<QSaveFile>(path);
        opened = m_device->open(QIODevice::WriteOnly);
    } else {
        m_device = std::make_unique<QFile>(path);
        opened = m_device->open(QIODevice::WriteOnly);
    }
    if (!opened) {
        fail();
    }
    m_writer = std::make_unique<ResultLineWriter>(*m_device);
}

ResultsOutput::~ResultsOutput() = default;

void ResultsOutput::write(QStringView line) {
    if (!m_writer->write(line)) {
        fail();
    }
}

void ResultsOutput::commit() {
    // QSaveFile's commit() misses a flush that failed (a full disk), so flush first.
    if (!m_writer->flush() || !m_device->flush()) {
        fail();
    }
    if (auto* file = qobject_cast<QSaveFile*>(m_device.get()); file && !file->commit()) {
        fail();
    }
}

void ResultsOutput::abandon() {
    if (m_path.isEmpty()) {
        // Best effort: the run is failing already.
        [[maybe_unused]] const bool flushed = m_writer->flush() && m_device->flush();
    }
}

void ResultsOutput::fail() {
    if (m_path.isEmpty()) {
        throw ResultsFileError("cannot write to standard output");
    }
    throw ResultsFileError(
        QStringLiteral("Cannot write %1: %2").arg(m_path, m_device->errorString()).toStdString());
}

}  // namespace larkspan
