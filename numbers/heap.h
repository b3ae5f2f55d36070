// The number package's heap: every BigNum, Ratio record and text block comes from here.
// The platform half (two functions) is defined once per build: calloc/free natively,
// LocalAlloc(LMEM_ZEROINIT)/LocalFree on Windows. The portable half adds the test hook
// that makes the n-th allocation fail.
#pragma once
#include <cstddef>
#include <cstdint>

// Platform half: a zero-filled block, or null when the heap refuses; and its release.
void* platformAllocateZeroed(std::size_t bytes);
void platformFree(void* block);

// A zero-filled block; raises OutOfMemory when the heap refuses or the test hook says so.
void* heapAllocateZeroed(std::size_t bytes);
void heapFree(void* block);

// Test hook: the n-th allocation from now (1 = the next one) fails; 0 disarms it.
void heapFailAllocationAt(std::uint64_t n);
// Allocations made since start-up (counted whether or not the hook is armed).
std::uint64_t heapAllocationCount();
// Blocks currently allocated and not yet released.
std::int64_t heapLiveBlocks();
