#pragma once

#include <QByteArray>
#include <QDir>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTcpServer>
#include <QUrl>

#include <chrono>

class QTcpSocket;

namespace larkspan::test {

// A small HTTP server on 127.0.0.1 for tests that load real pages: it serves the files of one
// folder, each after an optional delay and with a content type that can be overridden, and it
// can misbehave as servers do: redirect, or stall in the middle of a page. Paths are the part
// of the address after the port, without the query ("/page.html").
class TestHttpServer : public QObject {
    Q_OBJECT

public:
    explicit TestHttpServer(const QString& folder, QObject* parent = nullptr);

    // Listens on a free port; false when it cannot.
    bool listen();

    QUrl url(const QString& path) const;
    void setDelay(const QString& path, std::chrono::milliseconds delay);
    void setContentType(const QString& path, const QByteArray& contentType);
    // Answers the path with "302 Found" and this location.
    void setRedirect(const QString& path, const QByteArray& location);
    // Sends the path's headers and half of its file, then nothing more, holding the connection.
    void setStalled(const QString& path);
    // Every served file has `placeholder` replaced by `value`: the address of a second server,
    // for pages with frames of another origin.
    void setPlaceholder(const QByteArray& placeholder, const QByteArray& value);
    // Answers the next `count` GET requests of the path with "429 Too Many Requests" and this
    // Retry-After; a HEAD request gets the answer the last GET got.
    void setRefusals(const QString& path, int count, const QByteArray& retryAfter);

signals:
    // A request has come in; its answer follows after the path's delay.
    void requested(const QString& path);

private:
    void handleConnection();
    void handleRequest(QTcpSocket* socket, const QByteArray& head);
    void respond(QTcpSocket* socket, const QString& path, const QByteArray& method);

    QTcpServer m_server;
    QDir m_folder;
    QHash<QString, std::chrono::milliseconds> m_delays;
    QHash<QString, QByteArray> m_contentTypes;
    QHash<QString, QByteArray> m_redirects;
    QSet<QString> m_stalled;
    QHash<QByteArray, QByteArray> m_placeholders;
    struct Refusals {
        int count = 0;
        QByteArray retryAfter;
        bool lastRefused = false;
    };
    QHash<QString, Refusals> m_refusals;
};

}  // namespace larkspan::test
