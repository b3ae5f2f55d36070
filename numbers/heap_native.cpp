// Native heap port: zero-filled blocks from calloc.
#include <cstdlib>

#include "numbers/heap.h"

void* platformAllocateZeroed(std::size_t bytes) { return std::calloc(1, bytes); }

void platformFree(void* block) { std::free(block); }
