#include "core/allocator.h"

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace sol {

void KeepLargeBuffersInHeap() {
#if defined(__GLIBC__)
  // The largest threshold the C library accepts on 64-bit systems, above
  // any data file a record number can address; memory freed at the top of
  // the heap is given back only when there is much more of it than that.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

}  // namespace sol
