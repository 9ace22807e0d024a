#pragma once

#include <QIcon>
#include <QString>

class QUrl;

namespace larkspan {

// Where the page at an address comes from, for the status bar: this computer, the private
// network, or the Internet, and whether the connection is encrypted.
class SecurityZone {
public:
    enum class Kind { None, MyComputer, LocalIntranet, Internet };

    SecurityZone() = default;
    SecurityZone(Kind kind, bool secure) : m_kind(kind), m_secure(secure) {}

    // None for an empty address. Local files and the program's own pages, "about:blank" among
    // them, are on this computer; loopback, private and link-local addresses and single-label
    // host names are on the private network; everything else is the Internet. https and wss are
    // secure; "view-source:" addresses take the zone of the address they show.
    static SecurityZone ofUrl(const QUrl& url);

    Kind kind() const { return m_kind; }
    bool isSecure() const { return m_secure; }

    // Empty for None.
    QString displayName() const;
    // The theme's icon, else one of the style's; null for None. Needs a QApplication.
    QIcon icon() const;

    friend bool operator==(const SecurityZone&, const SecurityZone&) = default;

private:
    Kind m_kind = Kind::None;
    bool m_secure = false;
};

}  // namespace larkspan
