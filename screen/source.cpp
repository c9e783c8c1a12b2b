#include "screen/source.h"

uint8_t* SourceBuffer = nullptr;
int32_t SourceSize = 0;
