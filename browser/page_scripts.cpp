#include "browser/page_scripts.h"

#include <QFile>

#include <stdexcept>

// Resources of a static library are registered by hand, and only from the global namespace.
static void registerPageScripts() {
    Q_INIT_RESOURCE(browser);
}

namespace larkspan::browser {

const QStringList& runnablePageScripts() {
    static const QStringList scripts{
        QStringLiteral("human_check.js"),       QStringLiteral("listing_marks.js"),
        QStringLiteral("listing_detection.js"), QStringLiteral("next_link.js"),
        QStringLiteral("profile_listings.js"),  QStringLiteral("structured_data.js")};
    return scripts;
}

QString pageScriptSource(const QString& fileName) {
    static const bool registered = (registerPageScripts(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/larkspan/") + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::logic_error(QStringLiteral("the page script %1 is missing from the resources")
                                   .arg(fileName)
                                   .toStdString());
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace larkspan::browser
