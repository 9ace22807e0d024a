#include "shell/application_events.h"

#include <QCoreApplication>

#include <utility>

namespace larkspan {

ApplicationEvents::ApplicationEvents(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)) {
    QCoreApplication::instance()->installEventFilter(this);
}

ApplicationEvents::~ApplicationEvents() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool ApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
    return m_handler(watched, event) || QObject::eventFilter(watched, event);
}

}  // namespace larkspan
