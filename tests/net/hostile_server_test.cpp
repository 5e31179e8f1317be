// Servers that misbehave. Every case must end within the short testing limits (1 s idle,
// 2 s connect) with an empty answer, or with the bytes that came before the fault.
#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <functional>

#include "net/fetch_url.h"
#include "net/network_options.h"
#include "net/web_request.h"
#include "raw_server.h"

namespace quorvane::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Generous: long enough for a sanitizer build, far below the routines' own 18 s and 30 s, so a
// test that passes shows the testing limits were in force and nothing waited for the defaults.
constexpr auto kBound = 8s;

enum class Routine { kFetchUrl, kWebRequest };

void PrintTo(Routine routine, std::ostream* out) {
  *out << (routine == Routine::kFetchUrl ? "FetchUrl" : "WebRequest");
}

std::string Call(Routine routine, const std::string& url) {
  if (routine == Routine::kFetchUrl) return FetchUrl(Text(url)).str();
  return WebRequest(Text(url)).str();
}

struct HostileCase {
  const char* name;
  std::function<void(RawConnection&)> script;
  std::string expected;
};

// Test names in CTest show the case name instead of the bytes of the case.
void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

const HostileCase kCases[] = {
    {"AcceptAndStall", [](RawConnection& c) { c.Stall(); }, ""},
    {"ReadRequestThenStall",
     [](RawConnection& c) {
       c.ReadHead();
       c.Stall();
     },
     ""},
    {"StallAfterHeaders",
     [](RawConnection& c) {
       c.ReadHead();
       c.Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n");
       c.Stall();
     },
     ""},
    {"HeadersCutShort",
     [](RawConnection& c) {
       c.ReadHead();
       c.Send("HTTP/1.1 200 OK\r\nContent-Le");
     },
     ""},
    {"NotHttpAtAll",
     [](RawConnection& c) {
       c.ReadHead();
       c.Send("hello there\r\n\r\nbody");
     },
     ""},
    {"TruncatedBodyThenClose",
     [](RawConnection& c) {
       c.ReadHead();
       c.Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhello");
     },
     "hello"},
    {"ContentLengthLargerThanBodyThenStall",
     [](RawConnection& c) {
       c.ReadHead();
       c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\nhello");
       c.Stall();
     },
     "hello"},
    {"BodyWithoutLengthEndsAtClose",
     [](RawConnection& c) {
       c.ReadHead();
       c.Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nuntil the end");
     },
     "until the end"},
    {"ChunkedBodyCutMidway",
     [](RawConnection& c) {
       c.ReadHead();
       c.Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n8\r\nwor");
     },
     "hellowor"},
    {"TrickleThenStall",
     [](RawConnection& c) {
       c.ReadHead();
       c.Send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\n");
       for (const char* piece : {"a", "b", "c"}) {
         c.Stall(300ms);  // each pause is below the idle limit: progress keeps it alive
         c.Send(piece);
       }
       c.Stall();
     },
     "abc"},
};

class HostileServerTest : public ::testing::TestWithParam<std::tuple<HostileCase, Routine>> {
 protected:
  void SetUp() override { SetTimeoutsForTesting(2000ms, 1000ms); }
  void TearDown() override { SetTimeoutsForTesting(0ms, 0ms); }
};

TEST_P(HostileServerTest, EndsWithinTheLimitsKeepingWhatCame) {
  const auto& [c, routine] = GetParam();
  RawServer server(c.script);
  Clock::time_point start = Clock::now();
  EXPECT_EQ(Call(routine, server.Url("/x")), c.expected);
  EXPECT_LT(Clock::now() - start, kBound);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileServerTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(Routine::kFetchUrl,
                                                              Routine::kWebRequest)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) == Routine::kFetchUrl ? "_FetchUrl"
                                                                                 : "_WebRequest");
                         });

TEST(UnreachableServerTest, RefusedConnectionGivesEmptyAtOnce) {
  std::string url = "http://127.0.0.1:" + std::to_string(RawServer::ClosedPort()) + "/x";
  Clock::time_point start = Clock::now();
  EXPECT_TRUE(FetchUrl(Text(url)).empty());
  EXPECT_TRUE(WebRequest(Text(url)).empty());
  EXPECT_LT(Clock::now() - start, kBound);
}

}  // namespace
}  // namespace quorvane::testing
