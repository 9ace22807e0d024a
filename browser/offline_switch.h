#pragma once

#include <QObject>

#include <memory>

namespace larkspan::browser {

// Working offline: while on, no browser of the program loads anything from the network, so
// pages fail to load instead. Pages and files of this computer still load.
class OfflineSwitch : public QObject {
    Q_OBJECT

public:
    explicit OfflineSwitch(QObject* parent = nullptr);
    ~OfflineSwitch() override;

    bool isOffline() const;
    void setOffline(bool offline);

private:
    class Interceptor;
    std::unique_ptr<Interceptor> m_interceptor;
};

}  // namespace larkspan::browser
