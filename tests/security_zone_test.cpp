#include "shell/security_zone.h"

#include <gtest/gtest.h>

#include <QUrl>

#include "qt_printers.h"

namespace larkspan {
namespace {

using Kind = SecurityZone::Kind;

TEST(SecurityZone, FromAddress) {
    struct Case {
        const char* address;
        Kind kind;
        bool secure;
        const char* name;
    };
    const Case cases[] = {
        {"", Kind::None, false, ""},
        {"about:blank", Kind::MyComputer, false, "My Computer"},
        {"file:///home/user/results.html", Kind::MyComputer, false, "My Computer"},
        {"file://localhost/home/user/results.html", Kind::MyComputer, false, "My Computer"},
        {"qrc:/larkspan/HomePage", Kind::MyComputer, false, "My Computer"},
        {"file://fileserver/share/page.html", Kind::LocalIntranet, false, "Local intranet"},
        {"http://localhost:8080/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://app.localhost/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://127.0.0.1/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://127.45.6.7/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://[::1]:8000/x", Kind::LocalIntranet, false, "Local intranet"},
        {"http://10.1.2.3/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://172.16.0.1/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://172.31.255.255/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://172.15.255.255/", Kind::Internet, false, "Internet"},
        {"http://172.32.0.1/", Kind::Internet, false, "Internet"},
        {"http://192.168.1.10/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://192.169.0.1/", Kind::Internet, false, "Internet"},
        {"http://169.254.10.20/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://[fc00::1]/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://[fd12:3456::1]/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://[fe80::1]/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://[fe00::1]/", Kind::Internet, false, "Internet"},
        {"http://[::ffff:192.168.0.1]/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://[::ffff:8.8.8.8]/", Kind::Internet, false, "Internet"},
        {"http://[2001:db8::1]/", Kind::Internet, false, "Internet"},
        {"http://intranet/", Kind::LocalIntranet, false, "Local intranet"},
        {"http://intranet./", Kind::LocalIntranet, false, "Local intranet"},
        {"http://8.8.8.8/", Kind::Internet, false, "Internet"},
        {"http://10.0.0.1.example.com/", Kind::Internet, false, "Internet"},
        {"http://www.goldleaf.com.au/search", Kind::Internet, false, "Internet"},
        {"https://www.goldleaf.com.au/search", Kind::Internet, true, "Internet (secure)"},
        {"HTTPS://WWW.EXAMPLE.COM/", Kind::Internet, true, "Internet (secure)"},
        {"https://192.168.0.1/", Kind::LocalIntranet, true, "Local intranet (secure)"},
        {"https://printer/setup", Kind::LocalIntranet, true, "Local intranet (secure)"},
        {"wss://chat.example.com/", Kind::Internet, true, "Internet (secure)"},
        {"ftp://files.example.com/", Kind::Internet, false, "Internet"},
        {"view-source:https://www.example.com/a?b=1", Kind::Internet, true, "Internet (secure)"},
        {"view-source:http://localhost/", Kind::LocalIntranet, false, "Local intranet"},
        {"view-source:file:///tmp/a.html", Kind::MyComputer, false, "My Computer"},
        {"data:text/html,<p>hi</p>", Kind::Internet, false, "Internet"},
        {"javascript:void(0)", Kind::Internet, false, "Internet"},
    };
    for (const Case& c : cases) {
        const SecurityZone zone = SecurityZone::ofUrl(QUrl(QString::fromUtf8(c.address)));
        EXPECT_EQ(zone, SecurityZone(c.kind, c.secure)) << c.address;
        EXPECT_EQ(zone.displayName(), QString::fromUtf8(c.name)) << c.address;
    }
}

TEST(SecurityZone, IconForEveryZoneButNone) {
    EXPECT_TRUE(SecurityZone().icon().isNull());
    for (const Kind kind : {Kind::MyComputer, Kind::LocalIntranet, Kind::Internet}) {
        for (const bool secure : {false, true}) {
            EXPECT_FALSE(SecurityZone(kind, secure).icon().isNull())
                << static_cast<int>(kind) << secure;
        }
    }
}

}  // namespace
}  // namespace larkspan
