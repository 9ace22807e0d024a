#pragma once

#include <QString>

#include <memory>

namespace larkspan {

// Says that a run is under way in a process: a lock on a file that the system lets go of
// when the process ends, however it ends. The file goes with a holder that lets go in order, and
// stays behind one that was killed or crashed. (QLockFile guesses from process ids and names, and
// takes the window, which names itself "Larkspan", for a process that has gone.)
class RunLock {
public:
    // The lock, held, or null when another holder has it. Throws JournalError when the file
    // cannot be made.
    static std::unique_ptr<RunLock> tryHold(const QString& path);
    // Whether some holder, in this process or another, has it.
    static bool isHeld(const QString& path);

    // The file stays when the lock goes: it marks a run that did not end.
    void leaveFileBehind() { m_leaveFile = true; }

    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

private:
    RunLock(QString path, int descriptor);

    QString m_path;
    int m_descriptor;
    bool m_leaveFile = false;
};

}  // namespace larkspan
