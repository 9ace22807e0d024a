#include "cli/results_output.h"

#include <QFileInfo>

namespace larkspan {

bool isReplaceable(const QString& path) {
    const QFileInfo target(path);
    return !target.exists() || target.isFile();
}

namespace {

[[noreturn]] void failFile(const QSaveFile& file) {
    throw OutputFileError(QStringLiteral("cannot write %1: %2")
                              .arg(file.fileName(), file.errorString())
                              .toStdString());
}

}  // namespace

ResultsOutput::ResultsOutput(const QString& path) {
    if (path.isEmpty()) {
        m_stream.emplace(OutputFile::standardOutput());
    } else if (isReplaceable(path)) {
        m_file = std::make_unique<QSaveFile>(path);
        if (!m_file->open(QIODevice::WriteOnly)) {
            throw OutputFileError(replacementFailure(path, m_file->errorString()).toStdString());
        }
    } else {
        m_stream.emplace(path);
    }
}

void ResultsOutput::write(QStringView line) {
    m_encoder.append(line);
    if (m_encoder.isFull()) {
        writeBatch();
    }
}

void ResultsOutput::writeBatch() {
    const QByteArray batch = m_encoder.takeBatch();
    if (m_stream) {
        m_stream->append(batch);
    } else if (m_file->write(batch) != batch.size()) {
        failFile(*m_file);
    }
}

void ResultsOutput::commit() {
    writeBatch();
    // QSaveFile's commit() misses a flush that failed (a full disk), so flush first.
    if (m_file && (!m_file->flush() || !m_file->commit())) {
        failFile(*m_file);
    }
}

void ResultsOutput::abandon() {
    if (m_stream) {
        try {
            writeBatch();
        } catch (const OutputFileError&) {
            // The run is failing already; its own reason is the one to tell.
        }
    }
}

}  // namespace larkspan
