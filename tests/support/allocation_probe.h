#pragma once

// Notes the largest single allocation that some code makes. The probe replaces
// the program's operator new and delete, so it goes only into a test program
// of its own (brimlow_bounds_tests), where it cannot hide a mismatched new and
// delete of the other tests from the sanitizers.

#include <cstddef>
#include <functional>

// The size of the largest block that operator new or new[] was asked for while
// body ran; 0 when body allocated nothing.
std::size_t largestAllocationDuring(const std::function<void()> &body);
