#pragma once

#include "capture/output_file.h"
#include "capture/result_line_encoder.h"

#include <QSaveFile>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

namespace larkspan {

// Whether a file at the path is replaced as a whole: a regular file or a new one. Anything else
// (a device, a named pipe) cannot be, and renaming over it would put a regular file in its place.
bool isReplaceable(const QString& path);

// Where `capture --from-text` writes its result lines as they come: standard output, or the -o
// file. A regular file (or a new one) takes its place only at commit(), once it holds every
// line, so a run that fails leaves an earlier file as it was. Standard output, a device or a
// named pipe is written as it goes and never replaced. Errors are thrown with their message.
class ResultsOutput {
public:
    explicit ResultsOutput(const QString& path);  // empty: standard output

    void write(QStringView line);
    // Every line is written: the file takes its place.
    void commit();
    // The run failed: lines meant for a stream still go there; a file stays as it was.
    void abandon();

private:
    void writeBatch();

    ResultLineEncoder m_encoder;
    std::unique_ptr<QSaveFile> m_file;
    std::optional<OutputFile> m_stream;
};

}  // namespace larkspan
