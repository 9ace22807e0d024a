#pragma once

#include <QObject>

class QSocketNotifier;

namespace larkspan {

// Turns Ctrl+C (SIGINT) and SIGTERM into a Qt signal delivered by the event loop, where it is
// safe to act on it. Work that keeps the event loop waiting asks isRaised() instead. One
// instance at a time; the default handlers come back when it goes.
class InterruptSignal : public QObject {
    Q_OBJECT

public:
    explicit InterruptSignal(QObject* parent = nullptr);
    ~InterruptSignal() override;

    // Whether an interrupt arrived since this object was made.
    bool isRaised() const;

signals:
    void interrupted();

private:
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace larkspan
