#include "capture/capture_data.h"

#include <QFile>

#include <stdexcept>

// Resources of a static library are registered by hand, and only from the global namespace.
static void registerCaptureData() {
    Q_INIT_RESOURCE(capture);
}

namespace larkspan {

QList<QStringList> captureDataLines(const QString& fileName) {
    static const bool registered = (registerCaptureData(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/larkspan/") + fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw std::logic_error(
            QStringLiteral("the data file %1 is missing from the resources")
                .arg(fileName)
                .toStdString());
    }
    QList<QStringList> lines;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#')) {
            lines.append(line.split(u' ', Qt::SkipEmptyParts));
        }
    }
    return lines;
}

}  // namespace larkspan
