#include "numbers/heap.h"

#include "numbers/bignum.h"

namespace {
std::uint64_t allocationCount = 0;
std::uint64_t failAt = 0;  // absolute allocation number that fails; 0 = never
std::int64_t liveBlocks = 0;
}  // namespace

void* heapAllocateZeroed(std::size_t bytes) {
  ++allocationCount;
  if (failAt != 0 && allocationCount == failAt) {
    failAt = 0;
    raiseError(OutOfMemory);
  }
  void* block = platformAllocateZeroed(bytes);
  if (block == nullptr) raiseError(OutOfMemory);
  ++liveBlocks;
  return block;
}

void heapFree(void* block) {
  if (block == nullptr) return;
  --liveBlocks;
  platformFree(block);
}

void heapFailAllocationAt(std::uint64_t n) { failAt = n == 0 ? 0 : allocationCount + n; }

std::uint64_t heapAllocationCount() { return allocationCount; }

std::int64_t heapLiveBlocks() { return liveBlocks; }
