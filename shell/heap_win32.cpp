// The number package's heap port for Windows: zero-filled fixed blocks of the local heap.
#include <windows.h>

#include "numbers/heap.h"

void* platformAllocateZeroed(std::size_t bytes) {
    return LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, bytes);
}

void platformFree(void* block) {
    if (block) LocalFree(block);
}
