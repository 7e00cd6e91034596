// The failure convention across exports, threads and processes, seen from a
// host through the shared object.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <climits>
#include <string>
#include <thread>

#include "kovrix.h"

namespace {

struct Frame : ::testing::Test {
  static void SetUpTestSuite() { kovrix_init(); }
  // Leave nothing pending for the next test: a router export clears every kind.
  void TearDown() override { kovrix_fixed_sin(0); }
};

// Leaves a RangeDefect pending on the calling thread (negative buffer size).
void leaveRangeErrorPending() {
  kovrix_bigint* x = kovrix_bigint_from_i64(12);
  char buf[8];
  ASSERT_EQ(kovrix_bigint_to_decimal(x, buf, -1), 0);
  kovrix_bigint_destroy(x);
}

bool addWorks() {
  kovrix_bigint* a = kovrix_bigint_from_i64(2);
  kovrix_bigint* s = a ? kovrix_bigint_add(a, a) : nullptr;
  bool ok = s != nullptr && kovrix_bigint_to_i64(s, nullptr) == 4;
  kovrix_bigint_destroy(s);
  kovrix_bigint_destroy(a);
  return ok;
}

using FrameTest = Frame;

TEST_F(FrameTest, AddOfTheSameHandleTwice) {
  kovrix_bigint* h = kovrix_bigint_from_decimal("-123456789012345678901234567890");
  kovrix_bigint* twice = kovrix_bigint_add(h, h);
  char buf[64];
  ASSERT_GT(kovrix_bigint_to_decimal(twice, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "-246913578024691357802469135780");
  ASSERT_GT(kovrix_bigint_to_decimal(h, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "-123456789012345678901234567890") << "an argument handle was changed";
  EXPECT_NE(twice, h);
  kovrix_bigint_destroy(twice);
  kovrix_bigint_destroy(h);
}

TEST_F(FrameTest, DestroyOfNullDoesNothing) { kovrix_bigint_destroy(nullptr); }

TEST_F(FrameTest, PendingDefectStopsLaterExportsUntilARouterExportRuns) {
  leaveRangeErrorPending();
  EXPECT_FALSE(addWorks()) << "an export computed while an error was pending";
  // from_decimal catches only invalid text: the range error stays.
  EXPECT_EQ(kovrix_bigint_from_decimal("12"), nullptr);
  EXPECT_FALSE(addWorks());
  // Exports without a failing step still compute.
  EXPECT_EQ(kovrix_clz64(1), 63);
  EXPECT_EQ(kovrix_fixed_cmp(1, 2), -1);
  EXPECT_EQ(kovrix_fixed_floor(0x100000007), 0x100000000);
  // Fixed arithmetic on the exact big-integer value stops like any other
  // export with an integer-layer step.
  EXPECT_EQ(kovrix_fixed_add(1, 2), 0);
  // A router export clears any pending error and returns 0.
  EXPECT_EQ(kovrix_fixed_sin(std::int64_t{1} << 32), 0);
  EXPECT_TRUE(addWorks());
}

TEST_F(FrameTest, InvalidTextLeavesNothingPending) {
  for (const char* text : {"", "-", "+", "abc", "12a", "1 ", " 12"}) {
    EXPECT_EQ(kovrix_bigint_from_decimal(text), nullptr) << '"' << text << '"';
    EXPECT_TRUE(addWorks()) << "pending after \"" << text << '"';
  }
}

TEST_F(FrameTest, ErrorOnOneThreadDoesNotAffectAnother) {
  bool otherWorks = false;
  std::thread t([&] {
    leaveRangeErrorPending();
    std::thread inner([&] { otherWorks = addWorks(); });
    inner.join();
    EXPECT_FALSE(addWorks());
  });
  t.join();
  EXPECT_TRUE(otherWorks);
  EXPECT_TRUE(addWorks()) << "the other thread's error reached this one";
}

TEST_F(FrameTest, HandleCreatedOnOneThreadIsDestroyedOnAnother) {
  kovrix_bigint* handles[64] = {};
  std::thread maker([&] {
    for (int i = 0; i < 64; ++i) {
      kovrix_bigint* one = kovrix_bigint_from_i64(1);
      handles[i] = kovrix_bigint_shl(one, 64 * i + 5);  // sizes from inline to heap
      kovrix_bigint_destroy(one);
    }
  });
  maker.join();
  std::thread reader1([&] {
    for (auto* h : handles) EXPECT_EQ(kovrix_bigint_cmp(h, h), 0);
  });
  std::thread reader2([&] {
    for (int i = 1; i < 64; ++i) EXPECT_EQ(kovrix_bigint_cmp(handles[i], handles[i - 1]), 1);
  });
  reader1.join();
  reader2.join();
  std::thread destroyer([&] {
    for (auto* h : handles) kovrix_bigint_destroy(h);
  });
  destroyer.join();
}

TEST(FrameDeathTest, ErrorPendingAtFirstInitEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        kovrix_bigint* x = kovrix_bigint_from_i64(1);
        char buf[4];
        kovrix_bigint_to_decimal(x, buf, -5);
        kovrix_init();
      },
      testing::ExitedWithCode(1), "value out of range");
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(FrameDeathTest, ExhaustedMemoryEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        kovrix_init();
        // 512 MiB of address space: the second shift alone needs 512 MiB.
        struct rlimit lim {};
        getrlimit(RLIMIT_AS, &lim);
        lim.rlim_cur = 512ull << 20;
        setrlimit(RLIMIT_AS, &lim);
        kovrix_bigint* one = kovrix_bigint_from_i64(1);
        kovrix_bigint* big = kovrix_bigint_shl(one, INT_MAX);
        kovrix_bigint* bigger = kovrix_bigint_shl(big, INT_MAX);
        (void)bigger;
        std::_Exit(5);
      },
      testing::ExitedWithCode(1), "^out of memory\n$");
}
#endif

}  // namespace
