// The message dispatch hook, the pseudo-random generator and the error stop.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <new>
#include <set>
#include <vector>

#include "text/services.h"

namespace quorvane {
namespace {

TEST(Services, ProcessPendingEventsRunsTheInstalledDispatcher) {
  ProcessPendingEvents();  // nothing installed: nothing happens
  int calls = 0;
  SetPendingEventsDispatcher([&] { ++calls; });
  ProcessPendingEvents();
  ProcessPendingEvents();
  EXPECT_EQ(calls, 2);
  SetPendingEventsDispatcher(nullptr);
  ProcessPendingEvents();
  EXPECT_EQ(calls, 2);
}

TEST(Services, DispatcherMayReplaceItselfWhileRunning) {
  int innerCalls = 0;
  SetPendingEventsDispatcher([&] { SetPendingEventsDispatcher([&] { ++innerCalls; }); });
  ProcessPendingEvents();
  ProcessPendingEvents();
  EXPECT_EQ(innerCalls, 1);
  SetPendingEventsDispatcher(nullptr);
}

TEST(Services, RandomInRangeKeepsItsBounds) {
  struct Case {
    const char* name;
    int32_t lo, hi;
    int32_t expectedLow, expectedHigh;
  };
  const Case cases[] = {
      {"plain", 3, 7, 3, 7},
      {"swapped", 7, 3, 3, 7},
      {"negative low raised to 0", -5, 2, 0, 2},
      {"both negative", -5, -1, 0, 0},
      {"equal", 4, 4, 4, 4},
      {"whole non-negative range", 0, INT_MAX, 0, INT_MAX},
      {"top of the range", INT_MAX - 1, INT_MAX, INT_MAX - 1, INT_MAX},
      {"INT_MIN to INT_MAX", INT_MIN, INT_MAX, 0, INT_MAX},
  };
  SeedRandom();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < 200; ++i) {
      const int32_t value = RandomInRange(c.lo, c.hi);
      EXPECT_GE(value, c.expectedLow);
      EXPECT_LE(value, c.expectedHigh);
    }
  }
}

TEST(Services, RandomInRangeReachesEveryValueOfASmallRange) {
  SeedRandom();
  std::set<int32_t> seen;
  for (int i = 0; i < 500; ++i)
    seen.insert(RandomInRange(1, 6));
  EXPECT_EQ(seen, (std::set<int32_t>{1, 2, 3, 4, 5, 6}));
}

TEST(Services, SeedingsInTheSameMillisecondDiffer) {
  auto sequence = [] {
    SeedRandom();
    std::vector<int32_t> values;
    for (int i = 0; i < 8; ++i)
      values.push_back(RandomInRange(0, INT_MAX));
    return values;
  };
  // Back to back, these nearly always fall within one millisecond of each other.
  EXPECT_NE(sequence(), sequence());
}

using ServicesDeathTest = testing::Test;

TEST_F(ServicesDeathTest, StopWithErrorWritesToStandardErrorWithoutAReporter) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(StopWithError("disk on fire"), testing::ExitedWithCode(255), "disk on fire");
}

TEST_F(ServicesDeathTest, StopWithErrorHandsTheDescriptionToTheReporter) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetErrorReporter([](std::string_view description) {
          std::fprintf(stderr, "reported <%.*s>\n", static_cast<int>(description.size()),
                       description.data());
        });
        StopWithError("bad index");
      },
      testing::ExitedWithCode(255), "reported <bad index>");
}

TEST_F(ServicesDeathTest, AReporterThatFailsDoesNotLoop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetErrorReporter([](std::string_view) { StopWithError("reporter broke"); });
        StopWithError("first fault");
      },
      testing::ExitedWithCode(255), "reporter broke");
}

TEST_F(ServicesDeathTest, MemoryExhaustionStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        InstallOutOfMemoryStop();
        // The new handler is what operator new calls when it cannot allocate; calling it
        // directly shows the wiring without exhausting the machine's memory.
        std::get_new_handler()();
      },
      testing::ExitedWithCode(255), "out of memory");
}

}  // namespace
}  // namespace quorvane
