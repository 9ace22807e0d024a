#include "engine_bench.h"

#include "browser/chromium_sandbox.h"
#include "browser/twebbrowser.h"

#include <QApplication>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace larkspan {
namespace {

// Before the application exists, as the engine wants it.
int& prepareEngine(int& argc) {
    disableSandboxWhenRoot();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return argc;
}

}  // namespace

EngineBenchApplication::EngineBenchApplication(int& argc, char** argv)
    : m_application(std::make_unique<QApplication>(prepareEngine(argc), argv)) {}

EngineBenchApplication::~EngineBenchApplication() = default;

int EngineBenchApplication::runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

bool loadHeavyResultPage(TWebbrowser& browser) {
    browser.Navigate(
        QUrl::fromLocalFile(QStringLiteral(LARKSPAN_BENCH_DATA "/heavy_result_page.html")));
    if (!browser.waitUntilComplete() || !browser.lastLoadSucceeded() || !browser.Document()) {
        std::fputs("cannot load the heavy result page\n", stderr);
        return false;
    }
    return true;
}

}  // namespace larkspan
