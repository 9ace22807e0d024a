#include "browser_test_suites.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    int failures = runDomBridgeTests(argc, argv);
    failures += runTWebbrowserTests(argc, argv);
    failures += runRetryAfterTests(argc, argv);
    // Last: it ends with the application quitting.
    failures += runWaitFibersTests(argc, argv);
    return failures;
}
