#include "app/capture_command.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Larkspan"));
    QStringList arguments = QCoreApplication::arguments();

    if (arguments.size() >= 2 && arguments.at(1) == QStringLiteral("capture")) {
        arguments.removeAt(1);
        return larkspan::runCaptureCommand(arguments);
    }
    std::fputs("usage: larkspan capture --from-text FILE [-o FILE]\n", stderr);
    return 2;
}
