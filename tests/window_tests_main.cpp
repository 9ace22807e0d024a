#include "window_test_suites.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    int failures = runWindowTests(argc, argv);
    failures += runTabsTests(argc, argv);
    failures += runCommandsTests(argc, argv);
    failures += runInspectionToolsTests(argc, argv);
    failures += runResultsViewsTests(argc, argv);
    return failures;
}
