#include "app/front_door.h"

int main(int argc, char* argv[]) {
    return larkspan::runFrontDoor(argc, argv);
}
