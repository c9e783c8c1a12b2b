#pragma once
// Starts the GUI toolkit once per test program (offscreen platform).
#include <cstdlib>

#include "platform/window.h"

inline void EnsurePlatform() {
    static bool started = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static char name[] = "quillon-test";
        static char* argv[] = {name, nullptr};
        return StartPlatform(1, argv);
    }();
    (void)started;
}
