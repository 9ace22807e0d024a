#include "capture/result_line_encoder.h"

#include "capture/results_file.h"

#include <algorithm>
#include <utility>

namespace larkspan {
namespace {

constexpr QStringView kLineEnd = u"\r\n";

}  // namespace

ResultLineEncoder::ResultLineEncoder()
    : m_encoder(QStringConverter::System), m_batch(resultsFileSignature()) {
    m_used = m_batch.size();
}

void ResultLineEncoder::append(QStringView line) {
    const qsizetype needed = m_used + m_encoder.requiredSpace(line.size() + kLineEnd.size());
    if (needed > m_batch.size()) {
        m_batch.resize(std::max(needed, kBatchBytes + needed - m_used));
    }
    char* end = m_encoder.appendToBuffer(m_batch.data() + m_used, line);
    end = m_encoder.appendToBuffer(end, kLineEnd);
    m_used = end - m_batch.constData();
}

QByteArray ResultLineEncoder::takeBatch() {
    m_batch.truncate(m_used);
    m_used = 0;
    return std::exchange(m_batch, QByteArray());
}

}  // namespace larkspan
