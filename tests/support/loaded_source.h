#pragma once
// Puts the loader's and the saver's program-wide values back to how start-up
// leaves them, so that each test begins with no file known.
#include "files/screen_file.h"
#include "files/source_loading.h"
#include "screen/source.h"

inline void ForgetLoadedSource() {
    FreeSource();
    SourceSize = 0;
    CurrentFileName.clear();
    SaveCounter = 0;
    SaveBaseName.clear();
}
