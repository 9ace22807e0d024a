#pragma once

#include <QString>

#include <optional>

namespace larkspan {

// What a run's output file is, as the journal keeps it with every page: the file itself (device
// and inode; every run makes a new one) and its size. A resume writes into the file only while it
// is still the one the run left: the same file, holding at least what the journal knows of.
struct OutputFileMark {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;

    // The file at the path now, through a link as the output is written.
    static OutputFileMark of(const QString& path);
    // Empty for a text the journal did not get from toText().
    static std::optional<OutputFileMark> fromText(const QString& text);
    QString toText() const;

    // Whether the file as it is now is the one this mark describes, or it with more written by
    // the run after the journal heard last (it was killed in between). A file that is gone is
    // nobody's to lose.
    bool stillDescribes(const OutputFileMark& now) const;
};

}  // namespace larkspan
