#pragma once

#include <QListWidget>
#include <QString>

namespace larkspan {

// The event log `lvEventLog`: one line per event a browser reports, newest last, with the time,
// the event's name and the tab. It keeps the newest lines only, so a long session cannot fill
// the memory with it.
class EventLog : public QListWidget {
    Q_OBJECT

public:
    static constexpr int kMostLines = 1000;

    explicit EventLog(QWidget* parent = nullptr);

    // "12:04:31  OnDownloadBegin  tab 2 (New Browser)".
    void LogEvent(const QString& name, const QString& tab);
};

}  // namespace larkspan
