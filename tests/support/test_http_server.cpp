#include "tests/support/test_http_server.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace larkspan::test {
namespace {

QByteArray contentTypeBySuffix(const QString& path) {
    static const QHash<QString, QByteArray> types{
        {QStringLiteral("html"), "text/html; charset=utf-8"},
        {QStringLiteral("xhtml"), "application/xhtml+xml; charset=utf-8"},
        {QStringLiteral("txt"), "text/plain; charset=utf-8"},
        {QStringLiteral("svg"), "image/svg+xml"},
        {QStringLiteral("png"), "image/png"},
        {QStringLiteral("css"), "text/css"},
        {QStringLiteral("js"), "text/javascript"},
    };
    return types.value(QFileInfo(path).suffix().toLower(), "application/octet-stream");
}

QByteArray head(const QByteArray& status, const QByteArray& fields, qsizetype bodySize) {
    return "HTTP/1.1 " + status + "\r\n" + fields +
           "Content-Length: " + QByteArray::number(bodySize) +
           "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
}

QByteArray response(const QByteArray& status, const QByteArray& contentType,
                    const QByteArray& body) {
    return head(status, "Content-Type: " + contentType + "\r\n", body.size()) + body;
}

}  // namespace

TestHttpServer::TestHttpServer(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder) {
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::handleConnection);
}

bool TestHttpServer::listen() {
    return m_server.listen(QHostAddress::LocalHost);
}

QUrl TestHttpServer::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()) + path);
}

void TestHttpServer::setDelay(const QString& path, std::chrono::milliseconds delay) {
    m_delays.insert(path, delay);
}

void TestHttpServer::setContentType(const QString& path, const QByteArray& contentType) {
    m_contentTypes.insert(path, contentType);
}

void TestHttpServer::setRedirect(const QString& path, const QByteArray& location) {
    m_redirects.insert(path, location);
}

void TestHttpServer::setStalled(const QString& path) {
    m_stalled.insert(path);
}

void TestHttpServer::setPlaceholder(const QByteArray& placeholder, const QByteArray& value) {
    m_placeholders.insert(placeholder, value);
}

void TestHttpServer::setRefusals(const QString& path, int count, const QByteArray& retryAfter) {
    m_refusals.insert(path, {count, retryAfter});
}

void TestHttpServer::handleConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            received->append(socket->readAll());
            const qsizetype end = received->indexOf("\r\n\r\n");
            if (end >= 0) {
                // One request per connection: the answer closes it.
                disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
                handleRequest(socket, received->left(end));
            }
        });
    }
}

void TestHttpServer::handleRequest(QTcpSocket* socket, const QByteArray& head) {
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QString path =
        requestLine.size() >= 2 ? QUrl(QString::fromLatin1(requestLine.at(1))).path() : QString();
    const std::chrono::milliseconds delay = m_delays.value(path, std::chrono::milliseconds(0));
    const QByteArray method = requestLine.value(0);
    QTimer::singleShot(delay, socket,
                       [this, socket, path, method] { respond(socket, path, method); });
    emit requested(path);
}

void TestHttpServer::respond(QTcpSocket* socket, const QString& path, const QByteArray& method) {
    const auto refusals = m_refusals.find(path);
    if (refusals != m_refusals.end()) {
        if (method == "GET") {
            refusals->lastRefused = refusals->count > 0;
            refusals->count -= refusals->lastRefused ? 1 : 0;
        }
        if (refusals->lastRefused) {
            const QByteArray body = "too many requests";
            socket->write(
                head("429 Too Many Requests",
                     "Retry-After: " + refusals->retryAfter + "\r\nContent-Type: text/plain\r\n",
                     body.size()) +
                body);
            socket->disconnectFromHost();
            return;
        }
    }
    // Only files inside the folder: a cleaned path that climbs out of it is not found.
    if (m_redirects.contains(path)) {
        socket->write(head("302 Found", "Location: " + m_redirects.value(path) + "\r\n", 0));
        socket->disconnectFromHost();
        return;
    }
    const QString relative = QDir::cleanPath(path).mid(1);
    QFile file(m_folder.filePath(relative));
    if (relative.startsWith(QLatin1String("..")) || !file.open(QIODevice::ReadOnly)) {
        socket->write(response("404 Not Found", "text/plain", "not found"));
        socket->disconnectFromHost();
        return;
    }
    QByteArray body = file.readAll();
    for (auto placeholder = m_placeholders.cbegin(); placeholder != m_placeholders.cend();
         ++placeholder) {
        body.replace(placeholder.key(), placeholder.value());
    }
    const QByteArray page =
        response("200 OK", m_contentTypes.value(path, contentTypeBySuffix(path)), body);
    if (m_stalled.contains(path)) {
        // The connection stays open, and the rest never comes.
        socket->write(page.left(page.size() - (page.size() - page.indexOf("\r\n\r\n")) / 2));
        return;
    }
    socket->write(page);
    socket->disconnectFromHost();
}

}  // namespace larkspan::test
