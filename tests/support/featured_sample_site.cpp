#include "tests/support/featured_sample_site.h"

#include <QDir>
#include <QFile>

namespace larkspan::test {
namespace {

const QString kSampleFolder = QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/directory");

QByteArray samplePage(int number) {
    QFile file(kSampleFolder + QStringLiteral("/page%1.html").arg(number));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

bool writeFeaturedSampleSite(const QString& folder) {
    const QByteArray first = samplePage(1);
    const qsizetype start = first.indexOf("<article");
    const qsizetype end = first.indexOf("</article>", start) + qsizetype(sizeof "</article>") - 1;
    if (start < 0 || !QDir().mkpath(folder)) {
        return false;
    }
    const QByteArray featured = first.mid(start, end - start) + '\n';
    for (int number = 1; number <= 3; ++number) {
        QByteArray page = samplePage(number);
        if (number > 1) {
            page.insert(page.indexOf("<article"), featured);
        }
        QFile file(folder + QStringLiteral("/page%1.html").arg(number));
        if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size()) {
            return false;
        }
    }
    return true;
}

}  // namespace larkspan::test
