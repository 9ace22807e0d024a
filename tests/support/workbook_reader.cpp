#include "tests/support/workbook_reader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QtDebug>

namespace larkspan::test {

QJsonObject readWorkbook(const QString& path) {
    QProcess reader;
    reader.start(QStringLiteral(LARKSPAN_PYTHON),
                 {QStringLiteral(LARKSPAN_SOURCE_DIR "/tests/read_workbook.py"), path});
    if (!reader.waitForFinished(60'000) || reader.exitCode() != 0) {
        qWarning().noquote() << "reading" << path << "failed:" << reader.errorString()
                             << reader.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

QList<QStringList> workbookRows(const QString& path) {
    QList<QStringList> rows;
    for (const QJsonValue row : readWorkbook(path).value(QLatin1String("rows")).toArray()) {
        rows.append(row.toVariant().toStringList());
    }
    return rows;
}

}  // namespace larkspan::test
