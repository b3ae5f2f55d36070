// A NUL-terminated text block allocated from the package heap.
#pragma once
#include <cstddef>
#include <memory>

#include "numbers/heap.h"

struct HeapTextRelease {
  void operator()(char* text) const noexcept { heapFree(text); }
};
using HeapText = std::unique_ptr<char, HeapTextRelease>;

// A zero-filled text with room for `capacity` characters plus the NUL.
inline HeapText heapTextAlloc(std::size_t capacity) {
  return HeapText(static_cast<char*>(heapAllocateZeroed(capacity + 1)));
}
