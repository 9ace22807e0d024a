#pragma once

#include <QString>

#include <memory>

namespace larkspan {

class RunLock;

// Keeps two runs (captures, exports) from writing one file at once: a run holds the lock of its
// output file (by its real path, links followed) for as long as it runs. Standard output, devices
// and named pipes are not locked; several writers may share them on purpose.
class OutputLock {
public:
    // An empty path is standard output. Throws std::runtime_error ("cannot write PATH: another
    // capture run is writing it") when another run holds it, or with the system's reason when
    // the lock cannot be made.
    explicit OutputLock(const QString& path);
    ~OutputLock();
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;

private:
    std::unique_ptr<RunLock> m_lock;
};

}  // namespace larkspan
