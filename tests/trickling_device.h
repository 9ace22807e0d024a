#pragma once

#include <QIODevice>

#include <algorithm>

// A device that hands its bytes over a few at a time, as a pipe may, and then fails or ends.
class TricklingDevice : public QIODevice {
public:
    TricklingDevice(QByteArray bytes, qint64 step, bool failAtEnd = false)
        : m_bytes(std::move(bytes)), m_step(step), m_failAtEnd(failAtEnd) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (m_at == m_bytes.size() && m_failAtEnd) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 size = std::min({maxSize, m_step, m_bytes.size() - m_at});
        std::copy_n(m_bytes.constData() + m_at, size, data);
        m_at += size;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_step;
    bool m_failAtEnd;
    qint64 m_at = 0;
};
