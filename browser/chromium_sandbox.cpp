#include "browser/chromium_sandbox.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace larkspan {

bool disableSandboxWhenRoot() {
#ifdef Q_OS_UNIX
    const char* const variable = "QTWEBENGINE_DISABLE_SANDBOX";
    if (geteuid() != 0 || qgetenv(variable) == "1") {
        return false;
    }
    qputenv(variable, "1");
    std::fputs("larkspan: running as root, so the web engine's sandbox is turned off\n", stderr);
    return true;
#else
    return false;
#endif
}

}  // namespace larkspan
