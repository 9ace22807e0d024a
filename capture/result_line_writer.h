#pragma once

#include <QByteArray>
#include <QStringEncoder>
#include <QStringView>

class QIODevice;

namespace larkspan {

// Writes result lines to a device as a results file holds them: the UTF-8 signature when the
// system encoding is UTF-8, then every line followed by CR LF, in the system encoding. Lines
// are encoded straight into a buffer of bounded size that goes to the device when full.
class ResultLineWriter {
public:
    explicit ResultLineWriter(QIODevice& device);

    // False when the device refused the bytes; its errorString() says why.
    [[nodiscard]] bool write(QStringView line);
    // Hands the buffered bytes to the device.
    [[nodiscard]] bool flush();

private:
    QIODevice& m_device;
    QStringEncoder m_encoder;
    QByteArray m_buffer;
    qsizetype m_used = 0;
};

}  // namespace larkspan
