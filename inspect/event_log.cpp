#include "inspect/event_log.h"

#include <QTime>

namespace larkspan {

EventLog::EventLog(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("lvEventLog"));
}

void EventLog::LogEvent(const QString& name, const QString& tab) {
    if (count() >= kMostLines) {
        delete takeItem(0);
    }
    addItem(
        QStringLiteral("%1  %2  %3").arg(QTime::currentTime().toString(u"HH:mm:ss"), name, tab));
    scrollToBottom();
}

}  // namespace larkspan
