#pragma once

#include <memory>

class QApplication;

namespace larkspan {

class TWebbrowser;

// The application of a benchmark program that drives the web engine, without a display.
class EngineBenchApplication {
public:
    EngineBenchApplication(int& argc, char** argv);
    ~EngineBenchApplication();

    // Runs the registered benchmarks; gives the exit code.
    int runBenchmarks(int argc, char** argv);

private:
    std::unique_ptr<QApplication> m_application;
};

// Loads bench/data/heavy_result_page.html into the browser and waits for it; false (with a line
// on standard error) when it cannot.
bool loadHeavyResultPage(TWebbrowser& browser);

}  // namespace larkspan
