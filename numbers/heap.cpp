#include "numbers/heap.h"

#include <cstring>

#include "numbers/bignum.h"

// Small blocks are recycled through free lists, one per 16-byte size class: values are
// built and released by the thousand in every series, and the platform heap is much slower
// at that. Each block carries a 16-byte header with its class. The sanitizer builds keep
// every block on the platform heap so that use-after-free stays detectable.
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kRecycle = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kRecycle = false;
#else
constexpr bool kRecycle = true;
#endif
#else
constexpr bool kRecycle = true;
#endif

constexpr std::size_t kHeader = 16;
constexpr std::size_t kClassBytes = 16;
constexpr std::size_t kClassCount = 32;    // blocks up to 512 bytes are recycled
constexpr std::size_t kMaxCachedPerClass = 256;

// The library's memset, called rather than inlined: for blocks this small it beats the
// string instruction that an inlined memset of unknown length becomes.
void* (*volatile zeroFill)(void*, int, std::size_t) = std::memset;

struct FreeBlock {
  FreeBlock* next;
};

struct HeapState {
  std::uint64_t allocationCount = 0;
  std::uint64_t failAt = 0;  // absolute allocation number that fails; 0 = never
  std::int64_t liveBlocks = 0;
  FreeBlock* freeLists[kClassCount] = {};
  std::size_t cached[kClassCount] = {};
};
HeapState heap;

// Class c holds payloads of up to (c + 1) * 16 bytes; kClassCount means "not recycled".
std::size_t classOf(std::size_t bytes) {
  std::size_t c = bytes == 0 ? 0 : (bytes - 1) / kClassBytes;
  return c < kClassCount ? c : kClassCount;
}

}  // namespace

void* heapAllocateZeroed(std::size_t bytes) {
  ++heap.allocationCount;
  if (heap.failAt != 0 && heap.allocationCount == heap.failAt) {
    heap.failAt = 0;
    raiseError(OutOfMemory);
  }
  const std::size_t c = kRecycle ? classOf(bytes) : kClassCount;
  unsigned char* block = nullptr;
  if (c < kClassCount && heap.freeLists[c] != nullptr) {
    FreeBlock* reused = heap.freeLists[c];
    heap.freeLists[c] = reused->next;
    --heap.cached[c];
    block = reinterpret_cast<unsigned char*>(reused);
    std::memcpy(block, &c, sizeof c);  // the link overwrote the header
    zeroFill(block + kHeader, 0, bytes);
  } else {
    const std::size_t payload = c < kClassCount ? (c + 1) * kClassBytes : bytes;
    block = static_cast<unsigned char*>(platformAllocateZeroed(kHeader + payload));
    if (block == nullptr) raiseError(OutOfMemory);
    std::memcpy(block, &c, sizeof c);
  }
  ++heap.liveBlocks;
  return block + kHeader;
}

void heapFree(void* payload) {
  if (payload == nullptr) return;
  --heap.liveBlocks;
  unsigned char* block = static_cast<unsigned char*>(payload) - kHeader;
  std::size_t c;
  std::memcpy(&c, block, sizeof c);
  if (c < kClassCount && heap.cached[c] < kMaxCachedPerClass) {
    FreeBlock* freed = reinterpret_cast<FreeBlock*>(block);
    freed->next = heap.freeLists[c];
    heap.freeLists[c] = freed;
    ++heap.cached[c];
    return;
  }
  platformFree(block);
}

void heapFailAllocationAt(std::uint64_t n) { heap.failAt = n == 0 ? 0 : heap.allocationCount + n; }

std::uint64_t heapAllocationCount() { return heap.allocationCount; }

std::int64_t heapLiveBlocks() { return heap.liveBlocks; }
