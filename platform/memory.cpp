#include "platform/memory.h"

#include <cstdlib>

namespace {
int64_t AllocationLimit = -1;
}

uint8_t* AllocateZeroed(int64_t bytes) {
    if (bytes < 0) return nullptr;
    if (AllocationLimit >= 0 && bytes > AllocationLimit) return nullptr;
    // calloc hands large blocks straight from the kernel's zero pages, so a
    // large source costs no second pass over its memory.
    return static_cast<uint8_t*>(std::calloc(bytes > 0 ? static_cast<std::size_t>(bytes) : 1, 1));
}

void ReleaseBlock(uint8_t* block) { std::free(block); }

void SetAllocationLimitForTests(int64_t bytes) { AllocationLimit = bytes; }
