#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace larkspan {

// "cannot write NAME: the system's reason".
class OutputFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why a file could not be replaced when its replacement could not be made beside it, for
// `reason`: the system's word on the file itself where it has one ("cannot write PATH:
// Permission denied"), else, for a file there, that its folder takes no new file.
QString replacementFailure(const QString& path, const QString& reason);

// Where output goes, a batch of bytes at a time, at the same cost for every batch however much
// was written before: a file named by the user, or standard output.
//
// A regular file (or one that does not exist yet) is first touched by the first batch, which
// replaces it atomically: until that succeeds an existing file stays as it was. Later batches
// are appended and synced, so neither an error nor a crash of the program loses a batch that
// was written; a batch that fails is cut off again, so the file holds exactly the batches
// before it. Anything else (a device, a named pipe, standard output) is written to as it is
// and never replaced. Waits for a slow reader keep the event loop running, so an interrupt
// still acts.
class OutputFile {
public:
    explicit OutputFile(QString path);
    static OutputFile standardOutput();
    ~OutputFile();

    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&&) = delete;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The path, or "standard output".
    const QString& name() const { return m_name; }
    // False for a stream, which cannot take back part of a batch that failed.
    bool holdsWholeBatches() const { return m_mode != Mode::Stream; }

    // Throws OutputFileError; the batches before stay.
    void append(const QByteArray& bytes);

private:
    enum class Mode { NotOpened, RegularFile, Stream };

    OutputFile(QString name, int streamDescriptor);

    void open(const QByteArray& firstBatch);
    void replaceRegularFile(const QByteArray& path, const QByteArray& firstBatch);
    void appendToRegularFile(const QByteArray& bytes);
    void openStream(const QByteArray& path);
    void writeToStream(const QByteArray& bytes);
    [[noreturn]] void fail(int error) const;
    [[noreturn]] void failWaiting() const;

    QString m_path;
    QString m_name;
    Mode m_mode = Mode::NotOpened;
    int m_descriptor = -1;
    bool m_ownsDescriptor = false;
    qint64 m_size = 0;
};

}  // namespace larkspan
