// The export wrappers and the per-thread pending error.
#include "c_api/pending_error.hpp"

#include <gtest/gtest.h>

#include <new>
#include <thread>

#include "kovrix.h"

namespace kovrix::capi {
namespace {

struct Clean : ::testing::Test {
  void SetUp() override { clearPending(); }
  void TearDown() override { clearPending(); }
};

int raises(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::valueError: raiseValueError("bad text");
    case ErrorKind::overflowDefect: raiseOverflow();
    case ErrorKind::divByZeroDefect: raiseDivByZero("divided by zero");
    case ErrorKind::underflowDefect: raiseUnderflow("underflow");
    case ErrorKind::assertionDefect: raiseAssertion("assertion");
    case ErrorKind::rangeDefect: raiseRange();
    case ErrorKind::indexDefect: raiseIndex("index");
  }
  return 0;
}

constexpr ErrorKind kAllKinds[] = {ErrorKind::valueError,      ErrorKind::overflowDefect,
                                   ErrorKind::divByZeroDefect, ErrorKind::underflowDefect,
                                   ErrorKind::assertionDefect, ErrorKind::rangeDefect,
                                   ErrorKind::indexDefect};

using PendingErrorTest = Clean;

TEST_F(PendingErrorTest, HierarchyMatchesKinds) {
  EXPECT_THROW(raiseValueError("x"), CatchableError);
  EXPECT_THROW(raiseOverflow(), ArithmeticDefect);
  EXPECT_THROW(raiseDivByZero("x"), ArithmeticDefect);
  EXPECT_THROW(raiseUnderflow("x"), Defect);
  EXPECT_THROW(raiseRange(), Defect);
  try {
    raiseOverflow();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "over- or underflow");
    EXPECT_EQ(e.kind(), ErrorKind::overflowDefect);
  }
  try {
    raiseRange();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "value out of range");
  }
}

TEST_F(PendingErrorTest, OverflowTestedArithmetic) {
  EXPECT_EQ(checkedAdd(INT64_MAX - 1, 1), INT64_MAX);
  EXPECT_THROW(checkedAdd(INT64_MAX, 1), OverflowDefect);
  EXPECT_THROW(checkedSub(INT64_MIN, 1), OverflowDefect);
  EXPECT_THROW(checkedMul(INT64_MAX / 2 + 1, 2), OverflowDefect);
  EXPECT_EQ(checkedMul(-(INT64_MAX / 2), 2), -(INT64_MAX - 1));
}

TEST_F(PendingErrorTest, FailureBecomesPendingWithItsKindAndText) {
  for (ErrorKind kind : kAllKinds) {
    clearPending();
    EXPECT_EQ(guarded(-7, [&] { return raises(kind); }), -7);
    ASSERT_TRUE(errorPending());
    EXPECT_EQ(pendingError().kind, kind);
  }
  clearPending();
  guarded(0, [] { return raises(ErrorKind::divByZeroDefect); });
  EXPECT_STREQ(pendingError().message, "divided by zero");
}

TEST_F(PendingErrorTest, PendingErrorStopsLaterCallsUntilCaught) {
  guarded(0, [] { return raises(ErrorKind::overflowDefect); });
  int runs = 0;
  EXPECT_EQ(guarded(0, [&] { return ++runs; }), 0);
  EXPECT_EQ(runs, 0) << "a guarded body ran while an error was pending";
  EXPECT_EQ(unguarded(0, [&] { return ++runs; }), 1) << "unguarded exports compute regardless";
  EXPECT_TRUE(errorPending());
  // An export catching another kind leaves it pending, without computing.
  EXPECT_EQ(guarded<Catches::valueError>(5, [&] { return ++runs; }), 5);
  EXPECT_EQ(guarded<Catches::divByZero>(5, [&] { return ++runs; }), 5);
  EXPECT_TRUE(errorPending());
  EXPECT_EQ(runs, 1);
  // One that catches everything clears it and returns its failure value.
  EXPECT_EQ(guarded<Catches::everything>(0, [&] { return ++runs; }), 0);
  EXPECT_FALSE(errorPending());
  EXPECT_EQ(guarded(0, [&] { return ++runs; }), 2);
}

TEST_F(PendingErrorTest, CatchSetsFollowTheHierarchy) {
  for (ErrorKind kind : kAllKinds) {
    for (Catches c : {Catches::nothing, Catches::valueError, Catches::divByZero, Catches::everything}) {
      clearPending();
      int result = 1;
      switch (c) {
        case Catches::nothing: result = guarded<Catches::nothing>(0, [&] { return raises(kind); }); break;
        case Catches::valueError: result = guarded<Catches::valueError>(0, [&] { return raises(kind); }); break;
        case Catches::divByZero: result = guarded<Catches::divByZero>(0, [&] { return raises(kind); }); break;
        case Catches::everything: result = guarded<Catches::everything>(0, [&] { return raises(kind); }); break;
      }
      EXPECT_EQ(result, 0);
      bool caught = c == Catches::everything || (c == Catches::valueError && kind == ErrorKind::valueError) ||
                    (c == Catches::divByZero && kind == ErrorKind::divByZeroDefect);
      EXPECT_EQ(errorPending(), !caught) << "kind " << kindName(kind) << " catch set " << int(c);
    }
  }
}

TEST_F(PendingErrorTest, ErrorOnOneThreadDoesNotAffectAnother) {
  guarded(0, [] { return raises(ErrorKind::rangeDefect); });
  ASSERT_TRUE(errorPending());
  bool otherSawPending = true;
  int otherResult = 0;
  std::thread t([&] {
    otherSawPending = errorPending();
    otherResult = guarded(0, [] { return 11; });
    guarded(0, [] { return raises(ErrorKind::valueError); });  // left pending on that thread only
  });
  t.join();
  EXPECT_FALSE(otherSawPending);
  EXPECT_EQ(otherResult, 11);
  EXPECT_EQ(pendingError().kind, ErrorKind::rangeDefect);
}

TEST_F(PendingErrorTest, NewFailureWhilePendingReplacesTheCurrentRecord) {
  guarded(0, [] { return raises(ErrorKind::overflowDefect); });
  unguarded(0, [] { return raises(ErrorKind::valueError); });
  EXPECT_EQ(pendingError().kind, ErrorKind::valueError);
  guarded<Catches::valueError>(0, [] { return 1; });
  EXPECT_FALSE(errorPending());
}

TEST(PendingErrorDeathTest, ExhaustedMemoryEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(guarded(0, []() -> int { throw std::bad_alloc(); }), testing::ExitedWithCode(1),
              "^out of memory\n$");
}

TEST(PendingErrorDeathTest, ErrorPendingAtFirstInitIsReported) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        guarded(0, [] { return raises(ErrorKind::rangeDefect); });
        kovrix_init();
      },
      testing::ExitedWithCode(1), "value out of range");
  // Cleared before initialising: the process carries on.
  EXPECT_EXIT(
      {
        guarded(0, [] { return raises(ErrorKind::valueError); });
        guarded<Catches::valueError>(0, [] { return 0; });
        kovrix_init();
        std::exit(3);
      },
      testing::ExitedWithCode(3), "");
}

}  // namespace
}  // namespace kovrix::capi
