#include "browser/retry_after.h"

#include "browser/local_wait.h"

#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace larkspan::browser {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kAnswerTimeLimit = 10s;

}  // namespace

std::optional<std::chrono::seconds> askRetryAfter(const QUrl& address,
                                                  const QByteArray& userAgent) {
    QNetworkAccessManager network;
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    const std::unique_ptr<QNetworkReply> reply(network.head(request));
    LocalWait wait(reply.get());
    wait.setTimeLimit(kAnswerTimeLimit);
    QObject::connect(reply.get(), &QNetworkReply::finished, &wait, [&wait] { wait.finish(); });
    if (wait.exec() != LocalWait::Outcome::Finished) {
        reply->abort();
        return std::nullopt;
    }
    return parseRetryAfter(reply->rawHeader("Retry-After"), QDateTime::currentDateTimeUtc());
}

std::optional<std::chrono::seconds> parseRetryAfter(const QByteArray& value, const QDateTime& now) {
    const QByteArray text = value.trimmed();
    static const QRegularExpression seconds(QStringLiteral("^[0-9]+$"));
    if (seconds.match(QString::fromLatin1(text)).hasMatch()) {
        // More digits than a count of seconds holds is still a wait, only a very long one.
        bool fits = false;
        const qint64 count = text.toLongLong(&fits);
        return fits ? std::chrono::seconds(count) : std::chrono::seconds::max();
    }
    // The one date form servers send: "Wed, 21 Oct 2015 07:28:00 GMT".
    const QDateTime read = QLocale::c().toDateTime(
        QString::fromLatin1(text), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"));
    if (!read.isValid()) {
        return std::nullopt;
    }
    const QDateTime date(read.date(), read.time(), Qt::UTC);
    return std::chrono::seconds(std::max<qint64>(0, now.secsTo(date)));
}

}  // namespace larkspan::browser
