#pragma once

#include <QObject>

#include <functional>

namespace larkspan {

// Sees every event the application delivers, to any of its windows and while one of its modal
// windows is open, before the receiver does. The handler says whether it has dealt with the
// event, which is then dropped.
class ApplicationEvents : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<bool(QObject* receiver, QEvent* event)>;

    explicit ApplicationEvents(Handler handler, QObject* parent = nullptr);
    ~ApplicationEvents() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};

}  // namespace larkspan
