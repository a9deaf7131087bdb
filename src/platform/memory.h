#pragma once

#include <cstddef>

// The size of the large pages that adviseLargePages asks for, and an alignment
// that lets a large static object start on one (no more than the usual
// alignment where there are none to ask for).
#if defined(__linux__)
constexpr std::size_t kLargePageSize = std::size_t{2} << 20;
#else
constexpr std::size_t kLargePageSize = alignof(std::max_align_t);
#endif

// Asks the system to back the given memory with large pages where it can. The
// first touch of each 4 KiB page costs a page fault, and on some virtual
// machines a dear one; the tables of a full backup span some 30 MiB. A hint
// only: where it is not taken, nothing changes. It covers the whole large
// pages that the memory touches, so the bytes around it share in it.
void adviseLargePages(void *start, std::size_t size);
