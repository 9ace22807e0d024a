#include "browser/wait_fibers.h"

#include "browser/local_wait.h"
#include "browser_test_suites.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <stdexcept>

namespace larkspan {

using browser::LocalWait;
using browser::WaitFibers;
using namespace std::chrono_literals;

class WaitFibersTest : public QObject {
    Q_OBJECT

private slots:
    void jobsWaitSideBySide();
    void applicationQuitEndsEveryWait();
};

namespace {

LocalWait::Outcome waitFor(std::chrono::milliseconds time) {
    QObject watched;
    LocalWait wait(&watched);
    wait.setTimeLimit(time);
    return wait.exec();
}

}  // namespace

// Started first, the longest wait ends last: the jobs wait at the same time, not one inside
// the other. A job's exception comes out once the others have ended.
void WaitFibersTest::jobsWaitSideBySide() {
    QStringList ended;
    WaitFibers jobs;
    for (const int length : {300, 200, 100}) {
        jobs.add([&ended, length] {
            QCOMPARE(waitFor(std::chrono::milliseconds(length)), LocalWait::Outcome::TimedOut);
            ended.append(QString::number(length));
        });
    }
    jobs.add([&ended] {
        waitFor(50ms);
        ended.append(QStringLiteral("throws"));
        throw std::runtime_error("job failed");
    });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, jobs.runAll());
    QCOMPARE(ended, QStringList({"throws", "100", "200", "300"}));
    QVERIFY(WaitFibers::current() == nullptr);
}

// The application stays quitting: every later wait of the program ends at once, so this test
// comes last.
void WaitFibersTest::applicationQuitEndsEveryWait() {
    QList<LocalWait::Outcome> outcomes;
    WaitFibers jobs;
    for (int job = 0; job < 2; ++job) {
        jobs.add([&outcomes] {
            outcomes.append(waitFor(60s));
            // Winding up, a job's later waits end at once.
            outcomes.append(waitFor(60s));
        });
    }
    QTimer::singleShot(50ms, [] { QCoreApplication::exit(130); });
    jobs.runAll();
    QCOMPARE(outcomes, QList<LocalWait::Outcome>(4, LocalWait::Outcome::ApplicationQuit));
}

}  // namespace larkspan

int runWaitFibersTests(int argc, char* argv[]) {
    larkspan::WaitFibersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "wait_fibers_test.moc"
