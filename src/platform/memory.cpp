#include "platform/memory.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void adviseLargePages(void *start, std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // The range may begin before the memory given, so it is worked out as
  // numbers rather than pointers.
  constexpr std::uintptr_t kMask = kLargePageSize - 1;
  std::uintptr_t first = reinterpret_cast<std::uintptr_t>(start) & ~kMask;
  std::uintptr_t last = (reinterpret_cast<std::uintptr_t>(start) + size + kMask) & ~kMask;
  // Fails for the parts of the range that are not mapped, and is taken for
  // the others.
  (void)madvise(reinterpret_cast<void *>(first), // NOLINT(performance-no-int-to-ptr)
                last - first, MADV_HUGEPAGE);
#else
  (void)start;
  (void)size;
#endif
}
