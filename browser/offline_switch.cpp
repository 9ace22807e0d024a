#include "browser/offline_switch.h"

#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

#include <atomic>

namespace larkspan::browser {

class OfflineSwitch::Interceptor : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        static const QStringList kNetworkSchemes = {QStringLiteral("http"), QStringLiteral("https"),
                                                    QStringLiteral("ws"), QStringLiteral("wss"),
                                                    QStringLiteral("ftp")};
        if (offline && kNetworkSchemes.contains(info.requestUrl().scheme())) {
            info.block(true);
        }
    }

    std::atomic<bool> offline = false;
};

OfflineSwitch::OfflineSwitch(QObject* parent)
    : QObject(parent), m_interceptor(std::make_unique<Interceptor>()) {
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(m_interceptor.get());
}

OfflineSwitch::~OfflineSwitch() {
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(nullptr);
}

bool OfflineSwitch::isOffline() const {
    return m_interceptor->offline;
}

void OfflineSwitch::setOffline(bool offline) {
    m_interceptor->offline = offline;
}

}  // namespace larkspan::browser
