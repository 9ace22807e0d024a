#pragma once

#include "journal/journal_run.h"

#include <QList>
#include <QString>

#include <functional>

namespace larkspan {

// The runs as `larkspan runs` lists them: a line of column titles, then a line per run, each
// column as wide as its widest value, so the columns stay aligned whatever the values. A source
// address longer than kWidestSource characters is cut in its middle with "…".
class RunsTable {
public:
    static constexpr qsizetype kWidestSource = 50;

    // `underWay` tells whether a process runs the run now.
    static QString text(const QList<JournalRun>& runs,
                        const std::function<bool(qint64)>& underWay);
    // The address as the table shows it.
    static QString shownSource(const QString& source);
};

}  // namespace larkspan
