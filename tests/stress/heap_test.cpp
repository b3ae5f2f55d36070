// The sanitizer build keeps every number block on the platform heap, so that a block used
// after its release is reported; the other builds recycle small blocks for speed.
#include <gtest/gtest.h>

#include "numbers/heap.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

TEST(Heap, ReleasedBlocksAreRecycledOnlyOutsideTheSanitizerBuild) {
  const std::size_t sizes[] = {4, 40, 200, 512};
  for (std::size_t bytes : sizes) {
    SCOPED_TRACE(bytes);
    void* block = heapAllocateZeroed(bytes);
    heapFree(block);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_TRUE(__asan_address_is_poisoned(block)) << "a released block can still be used unnoticed";
#else
    void* again = heapAllocateZeroed(bytes);
    EXPECT_EQ(again, block) << "small blocks are not recycled";
    heapFree(again);
#endif
  }
}
