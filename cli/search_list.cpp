#include "cli/search_list.h"

#include "capture/search_batch.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <stdexcept>

namespace larkspan {

QStringList readSearchList(const QString& path) {
    QFile file;
    const bool opened =
        path == u"-" ? file.open(stdin, QIODevice::ReadOnly | QIODevice::Text)
                     : (file.setFileName(path), file.open(QIODevice::ReadOnly | QIODevice::Text));
    if (!opened) {
        throw std::runtime_error(
            (QStringLiteral("cannot read ") + path + QStringLiteral(": ") + file.errorString())
                .toStdString());
    }
    QStringList lines;
    QTextStream text(&file);
    QString line;
    while (text.readLineInto(&line)) {
        lines.append(line);
    }
    return searchesListed(lines);
}

std::optional<Shard> Shard::parse(const QString& text) {
    const QStringList parts = text.split(u'/');
    bool indexRead = false;
    bool countRead = false;
    if (parts.size() != 2) {
        return std::nullopt;
    }
    const Shard shard{parts[0].toInt(&indexRead), parts[1].toInt(&countRead)};
    if (!indexRead || !countRead || shard.index < 1 || shard.index > shard.count) {
        return std::nullopt;
    }
    return shard;
}

QStringList Shard::of(const QStringList& searches) const {
    QStringList taken;
    for (qsizetype at = index - 1; at < searches.size(); at += count) {
        taken.append(searches[at]);
    }
    return taken;
}

}  // namespace larkspan
