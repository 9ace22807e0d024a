#include "capture/run_end.h"

namespace larkspan {

QString repetitionText(const RunEnd& end) {
    return QStringLiteral("page %1 repeats page %2")
        .arg(QString::number(end.repeatingPage), QString::number(end.repeatedPage));
}

QString pageCountText(int pages) {
    return pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages);
}

QString cutShortText(int pagesCaptured, const QString& reason) {
    return QStringLiteral("Cut short after %1: %2").arg(pageCountText(pagesCaptured), reason);
}

}  // namespace larkspan
