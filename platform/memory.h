#pragma once
// Zero-filled memory blocks for the loaded source.
#include <cstdint>

// A zero-filled block of the given size, or nullptr when it cannot be had.
uint8_t* AllocateZeroed(int64_t bytes);
void ReleaseBlock(uint8_t* block);

// Tests: blocks larger than this many bytes are refused; -1 lifts the limit.
void SetAllocationLimitForTests(int64_t bytes);
