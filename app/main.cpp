#include "cli/capture_command.h"
#include "shell/window_main.h"

#include <cstring>

int main(int argc, char* argv[]) {
    if (argc >= 2 && std::strcmp(argv[1], "capture") == 0) {
        return larkspan::runCaptureCommand(argc, argv);
    }
    return larkspan::runWindow(argc, argv);
}
