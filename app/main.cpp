#include "app/capture_command.h"

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    if (argc >= 2 && std::strcmp(argv[1], "capture") == 0) {
        return larkspan::runCaptureCommand(argc, argv);
    }
    std::fputs("usage: larkspan capture SOURCE [-o FILE] [options]\n"
               "       larkspan capture --from-text FILE [-o FILE]\n"
               "       larkspan capture --help\n",
               stderr);
    return 2;
}
