#pragma once
// The loaded file, held whole in memory. Only the loader writes these; the
// renderer and the savers read bytes 0 .. SourceSize - 1 and never beyond.
#include <cstdint>

extern uint8_t* SourceBuffer;
extern int32_t SourceSize;  // 0: nothing to show
