#include "support/allocation_probe.h"

#include <cstdlib>
#include <new>

namespace {

bool probing = false;
std::size_t largest = 0;

void *allocate(std::size_t size) {
  if (probing && size > largest) {
    largest = size;
  }
  for (;;) {
    if (void *block = std::malloc(size > 0 ? size : 1)) {
      return block;
    }
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) {
      throw std::bad_alloc();
    }
    handler();
  }
}

void *allocateOrNull(std::size_t size) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
}

} // namespace

std::size_t largestAllocationDuring(const std::function<void()> &body) {
  largest = 0;
  probing = true;
  body();
  probing = false;
  return largest;
}

void *operator new(std::size_t size) { return allocate(size); }
void *operator new[](std::size_t size) { return allocate(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
  return allocateOrNull(size);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
  return allocateOrNull(size);
}
void operator delete(void *block) noexcept { std::free(block); }
void operator delete[](void *block) noexcept { std::free(block); }
void operator delete(void *block, std::size_t) noexcept { std::free(block); }
void operator delete[](void *block, std::size_t) noexcept { std::free(block); }
void operator delete(void *block, const std::nothrow_t &) noexcept { std::free(block); }
void operator delete[](void *block, const std::nothrow_t &) noexcept { std::free(block); }
