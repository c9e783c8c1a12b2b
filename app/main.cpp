#include "app/event_loop.h"
#include "app/startup.h"
#include "platform/window.h"

int main(int argc, char** argv) {
    if (StartPlatform(argc, argv) && StartUp()) RunEventLoop();
    Shutdown();
    StopPlatform();
    return 0;
}
