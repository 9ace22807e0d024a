#pragma once

#include <QByteArray>
#include <QStringEncoder>
#include <QStringView>

namespace larkspan {

// Result lines encoded as a results file holds them: the UTF-8 signature when the system
// encoding is UTF-8, then every line followed by CR LF, in the system encoding. The lines go
// straight into a batch of bounded size, which the caller takes when it is full and at the end;
// the batches together are the bytes of the whole results text.
class ResultLineEncoder {
public:
    ResultLineEncoder();

    void append(QStringView line);
    bool isFull() const { return m_used >= kBatchBytes; }
    // The batch so far; the next one starts empty.
    QByteArray takeBatch();

private:
    static constexpr qsizetype kBatchBytes = 256 * 1024;

    QStringEncoder m_encoder;
    QByteArray m_batch;
    qsizetype m_used = 0;
};

}  // namespace larkspan
