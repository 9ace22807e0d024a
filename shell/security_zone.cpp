#include "shell/security_zone.h"

#include <QApplication>
#include <QHostAddress>
#include <QStyle>
#include <QUrl>
#include <algorithm>
#include <array>

namespace larkspan {

namespace {

bool isProgramOwnScheme(const QString& scheme) {
    static const std::array kSchemes = {QStringLiteral("about"), QStringLiteral("qrc"),
                                        QStringLiteral("chrome"), QStringLiteral("devtools")};
    return std::find(kSchemes.begin(), kSchemes.end(), scheme) != kSchemes.end();
}

bool isPrivateAddress(QHostAddress address) {
    bool isMappedIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isMappedIPv4);
    if (isMappedIPv4) {
        address = QHostAddress(ipv4);  // ::ffff:192.168.0.1 is 192.168.0.1
    }
    static const std::array kSubnets = {
        QHostAddress::parseSubnet(QStringLiteral("127.0.0.0/8")),
        QHostAddress::parseSubnet(QStringLiteral("10.0.0.0/8")),
        QHostAddress::parseSubnet(QStringLiteral("172.16.0.0/12")),
        QHostAddress::parseSubnet(QStringLiteral("192.168.0.0/16")),
        QHostAddress::parseSubnet(QStringLiteral("169.254.0.0/16")),
        QHostAddress::parseSubnet(QStringLiteral("::1/128")),
        QHostAddress::parseSubnet(QStringLiteral("fc00::/7")),
        QHostAddress::parseSubnet(QStringLiteral("fe80::/10")),
    };
    return std::any_of(kSubnets.begin(), kSubnets.end(),
                       [&address](const auto& subnet) { return address.isInSubnet(subnet); });
}

bool isPrivateNetworkHost(QString host) {
    if (host.endsWith(u'.')) {
        host.chop(1);  // "intranet." names the same host as "intranet"
    }
    QHostAddress address;
    if (address.setAddress(host)) {
        return isPrivateAddress(address);
    }
    // Names without a dot resolve through the local network's own name service.
    return !host.contains(u'.') || host.endsWith(QStringLiteral(".localhost"));
}

}  // namespace

SecurityZone SecurityZone::ofUrl(const QUrl& url) {
    if (url.isEmpty()) {
        return {};
    }
    const QString scheme = url.scheme();
    if (scheme == QStringLiteral("view-source")) {
        return ofUrl(QUrl(url.toString(QUrl::RemoveScheme)));
    }
    const QString host = url.host();
    if (scheme == QStringLiteral("file")) {
        // A file with a host is on a network share.
        const bool local = host.isEmpty() || host == QStringLiteral("localhost");
        return {local ? Kind::MyComputer : Kind::LocalIntranet, false};
    }
    if (isProgramOwnScheme(scheme)) {
        return {Kind::MyComputer, false};
    }
    const bool secure = scheme == QStringLiteral("https") || scheme == QStringLiteral("wss");
    if (host.isEmpty()) {
        return {Kind::Internet, secure};  // data:, javascript: and the like: trust nothing
    }
    return {isPrivateNetworkHost(host) ? Kind::LocalIntranet : Kind::Internet, secure};
}

QString SecurityZone::displayName() const {
    QString name;
    switch (m_kind) {
        case Kind::None:
            return name;
        case Kind::MyComputer:
            name = QStringLiteral("My Computer");
            break;
        case Kind::LocalIntranet:
            name = QStringLiteral("Local intranet");
            break;
        case Kind::Internet:
            name = QStringLiteral("Internet");
            break;
    }
    return m_secure ? name + QStringLiteral(" (secure)") : name;
}

QIcon SecurityZone::icon() const {
    QString themeName;
    QStyle::StandardPixmap standard = QStyle::SP_ComputerIcon;
    switch (m_kind) {
        case Kind::None:
            return {};
        case Kind::MyComputer:
            themeName = QStringLiteral("computer");
            standard = QStyle::SP_ComputerIcon;
            break;
        case Kind::LocalIntranet:
            themeName = QStringLiteral("network-workgroup");
            standard = QStyle::SP_DriveNetIcon;
            break;
        case Kind::Internet:
            themeName = QStringLiteral("applications-internet");
            standard = QStyle::SP_FileLinkIcon;
            break;
    }
    const QIcon zoneIcon =
        QIcon::fromTheme(themeName, QApplication::style()->standardIcon(standard));
    return m_secure ? QIcon::fromTheme(QStringLiteral("security-high"), zoneIcon) : zoneIcon;
}

}  // namespace larkspan
