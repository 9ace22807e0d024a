#include "cli/command_application.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

namespace larkspan {
namespace {

void keepSeriousMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

int runWithArguments(const CommandRun& command) {
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeAt(1);  // the command's name
    return command(arguments);
}

}  // namespace

int runInCoreApplication(int argc, char* argv[], const CommandRun& command) {
    QCoreApplication application(argc, argv);
    return runWithArguments(command);
}

int runInEngineApplication(int argc, char* argv[], const CommandRun& command) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(keepSeriousMessages);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    return runWithArguments(command);
}

}  // namespace larkspan
