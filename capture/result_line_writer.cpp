#include "capture/result_line_writer.h"

#include "capture/results_file.h"

#include <QIODevice>

namespace larkspan {
namespace {

constexpr qsizetype kBufferBytes = 256 * 1024;
constexpr QStringView kLineEnd = u"\r\n";

}  // namespace

ResultLineWriter::ResultLineWriter(QIODevice& device)
    : m_device(device),
      m_encoder(QStringConverter::System),
      m_buffer(kBufferBytes, Qt::Uninitialized) {
    const QByteArray signature = resultsFileSignature();
    std::copy(signature.begin(), signature.end(), m_buffer.begin());
    m_used = signature.size();
}

bool ResultLineWriter::write(QStringView line) {
    const qsizetype needed = m_encoder.requiredSpace(line.size() + kLineEnd.size());
    if (m_used + needed > m_buffer.size()) {
        if (!flush()) {
            return false;
        }
        if (needed > m_buffer.size()) {
            m_buffer.resize(needed);
        }
    }
    char* end = m_encoder.appendToBuffer(m_buffer.data() + m_used, line);
    end = m_encoder.appendToBuffer(end, kLineEnd);
    m_used = end - m_buffer.constData();
    return true;
}

bool ResultLineWriter::flush() {
    const qint64 written = m_device.write(m_buffer.constData(), m_used);
    const bool complete = written == m_used;
    m_used = 0;
    return complete;
}

}  // namespace larkspan
