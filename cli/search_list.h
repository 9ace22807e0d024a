#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace larkspan {

// The searches of a batch as a file lists them: one first result page (an address or a file)
// per line; blank lines and lines starting with "#" are left out. "-" reads standard input.
// Throws std::runtime_error when the file cannot be read.
QStringList readSearchList(const QString& path);

// Which part of a batch one machine takes: every count-th search, starting at the index-th.
struct Shard {
    int index = 1;  // from 1 to count
    int count = 1;

    // "K/N"; nothing unless 1 <= K <= N.
    static std::optional<Shard> parse(const QString& text);

    // Its searches, in the order of the list.
    QStringList of(const QStringList& searches) const;
};

}  // namespace larkspan
