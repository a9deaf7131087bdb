#pragma once

#include <cstddef>

// Asks the system to back the given memory with large pages where it can. The
// first touch of each 4 KiB page costs a page fault, and on some virtual
// machines a dear one; the tables of a full backup span some 30 MiB. A hint
// only: where it is not taken, nothing changes.
void adviseLargePages(void *start, std::size_t size);
