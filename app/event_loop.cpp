#include "app/event_loop.h"

bool QuitRequested = false;
void RunLoopPass() {}
void RunEventLoop() {}
void Shutdown() {}
