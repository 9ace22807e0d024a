#include "browser/retry_after.h"

#include "browser_test_suites.h"

#include <QTest>

#include <chrono>
#include <optional>

namespace larkspan {

using Wait = std::optional<std::chrono::seconds>;

class RetryAfterTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void RetryAfterTest::parse_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<Wait>("wait");
    const Wait longest = std::chrono::seconds::max();
    QTest::newRow("seconds") << QByteArray(" 120 ") << Wait(std::chrono::seconds(120));
    QTest::newRow("no wait") << QByteArray("0") << Wait(std::chrono::seconds(0));
    QTest::newRow("ten digits") << QByteArray("9999999999")
                                << Wait(std::chrono::seconds(9'999'999'999));
    QTest::newRow("more digits than fit")
        << QByteArray("123456789012345678901234567890") << longest;
    QTest::newRow("a date to come")
        << QByteArray("Wed, 09 Dec 2026 12:01:30 GMT") << Wait(std::chrono::seconds(90));
    QTest::newRow("a date gone by")
        << QByteArray("Tue, 08 Dec 2026 12:00:00 GMT") << Wait(std::chrono::seconds(0));
    QTest::newRow("negative") << QByteArray("-5") << Wait();
    QTest::newRow("a fraction") << QByteArray("1.5") << Wait();
    QTest::newRow("empty") << QByteArray() << Wait();
}

void RetryAfterTest::parse() {
    QFETCH(QByteArray, value);
    QFETCH(Wait, wait);
    const QDateTime now(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC);
    QCOMPARE(browser::parseRetryAfter(value, now), wait);
}

}  // namespace larkspan

int runRetryAfterTests(int argc, char* argv[]) {
    larkspan::RetryAfterTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "retry_after_test.moc"
