#include "app/startup.h"

bool StartUp() { return false; }
