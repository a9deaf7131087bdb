#include "platform/stop.h"

#include "support/child.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

TEST(Stop, FailedCheckShowsConditionFileAndLineThenEndsWithStatus3) {
  ChildResult result = runInChild([] {
    std::fputs("printed before", stdout);
    stopOnFailedCheck("(recno >= 0) && (recno < p->nrecords)", "import.cpp", 224);
  });
  EXPECT_EQ(result.exitStatus, 3);
  EXPECT_EQ(result.out, "printed before");
  EXPECT_EQ(result.err, "\r\nAssertion failed: (recno >= 0) && (recno < p->nrecords), file "
                        "import.cpp, line 224\r\n\r\nAbnormal program termination\r\n");
}

TEST(Stop, InstalledNewHandlerEndsTheRunAbnormally) {
  ChildResult result = runInChild([] {
    installOutOfMemoryStop();
    std::new_handler handler = std::get_new_handler();
    ASSERT_NE(handler, nullptr);
    handler();
  });
  EXPECT_EQ(result.exitStatus, 3);
  EXPECT_EQ(result.err, "\r\nAbnormal program termination\r\n");
}

#if !defined(UNDER_ADDRESS_SANITIZER)
// AddressSanitizer reports an impossible allocation itself, before any
// new-handler could run, so only the plain build can show the real thing.
TEST(Stop, AllocationThatCannotBeMetEndsTheRunAbnormally) {
  ChildResult result = runInChild([] {
    installOutOfMemoryStop();
    volatile std::size_t huge = static_cast<std::size_t>(1) << 62;
    char *block = new char[huge];
    block[0] = 1;
    std::printf("allocated %p\n", static_cast<void *>(block));
  });
  EXPECT_EQ(result.exitStatus, 3);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "\r\nAbnormal program termination\r\n");
}
#endif

} // namespace
