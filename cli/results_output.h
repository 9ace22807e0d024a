#pragma once

#include "capture/result_line_writer.h"

#include <QFileDevice>
#include <QString>
#include <QStringView>

#include <memory>

namespace larkspan {

// Where `capture --from-text` writes its result lines as they come: standard output, or the -o
// file. A regular file (or a new one) is replaced only by commit(), once it holds every line, so
// a run that fails leaves an earlier file as it was; a device or a pipe is written directly and
// never replaced. Errors are thrown with their message.
class ResultsOutput {
public:
    explicit ResultsOutput(const QString& path);  // empty: standard output
    ~ResultsOutput();

    void write(QStringView line);
    // Every line is written: the file takes its place.
    void commit();
    // The run failed: lines already meant for standard output still go there; a file stays as
    // it was before the run.
    void abandon();

private:
    [[noreturn]] void fail();

    QString m_path;
    std::unique_ptr<QFileDevice> m_device;
    std::unique_ptr<ResultLineWriter> m_writer;
};

}  // namespace larkspan
