#include "shell/start_page.h"

#include <QFile>
#include <stdexcept>

#include "shell/app_resources.h"
#include "shell/crlf_lines.h"
#include "shell/directory_search.h"
#include "shell/windows_1252.h"

namespace larkspan {

QString BuildStartPage() {
    loadAppResources();
    QFile resource(QStringLiteral(":/larkspan/HomePage"));
    if (!resource.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("The start page is missing from the program");
    }
    // The template is Windows-1252 on every platform, whatever the system's own code page.
    QString page = withCrLfLineEnds(decodeWindows1252(resource.readAll()));

    // In this order; no replacement contains "$", so none creates another placeholder.
    page.replace(QStringLiteral("$gl$"), QStringLiteral("goldleaf (AU)"));
    page.replace(QStringLiteral("$versiongl$"), QStringLiteral("AU-GL"));
    page.replace(QStringLiteral("$webgl$"), directorySearchURLWithoutScheme());
    page.replace(QStringLiteral("$ver$"), QStringLiteral("v. 0.89 Stonecrab [08AUG2014]"));
    return page;
}

}  // namespace larkspan
