#include "platform/memory.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void adviseLargePages(void *start, std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only whole large pages inside the region can be given.
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  std::uintptr_t first =
      (reinterpret_cast<std::uintptr_t>(start) + kLargePage - 1) & ~(kLargePage - 1);
  std::uintptr_t last = (reinterpret_cast<std::uintptr_t>(start) + size) & ~(kLargePage - 1);
  if (last > first) {
    (void)madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
  }
#else
  (void)start;
  (void)size;
#endif
}
