// The stand-in site itself: other subsystems' tests and the demo lean on what it records and
// on how it answers, so those promises are checked here with plain sockets and libcurl.
#include "testsite/stand_in_site.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/fetch_url.h"
#include "net/web_request.h"
#include "site_fixture.h"

namespace quorvane::test_support {
namespace {

using StandInSiteTest = SiteTest;

TEST_F(StandInSiteTest, RecordsTheRequestAsItArrived) {
  site.Route("post", "/form", [](const testsite::RecordedRequest& request) {
    return Body("saw " + request.body + " " + request.Cookie("b"));
  });
  Text method("post");
  Text headers("Cookie: a=1; b=2\r\nX-First: 1\r\nx-first: 2\r\n");
  EXPECT_EQ(WebRequest(Http("/form?k=v&w"), &method, nullptr, &headers, Text("f=1")).str(),
            "saw f=1 2");
  auto request = OnlyRequest();
  EXPECT_FALSE(request.secure);
  EXPECT_EQ(request.method, "post");
  EXPECT_EQ(request.target, "/form?k=v&w");
  EXPECT_EQ(request.path, "/form");
  EXPECT_EQ(request.query, "k=v&w");
  EXPECT_EQ(request.HeaderValues("X-FIRST"), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(request.Header("x-absent"), "");
  EXPECT_EQ(request.Cookie("a"), "1");
  EXPECT_EQ(request.Cookie("c"), "");
  site.ClearRequests();
  EXPECT_TRUE(site.Requests().empty());
}

TEST_F(StandInSiteTest, RoutesMatchMethodAndExactPathOnBothServers) {
  site.Route("GET", "/only-get", Body("got"));
  EXPECT_EQ(FetchUrl(Http("/only-get?q")).str(), "got");
  EXPECT_EQ(FetchUrl(Https("/only-get")).str(), "got");
  Text method("POST");
  EXPECT_EQ(WebRequest(Http("/only-get"), &method).str(), "Not Found");
  EXPECT_EQ(FetchUrl(Http("/only-get/")).str(), "Not Found");
  EXPECT_EQ(site.Requests().size(), 4u);
  // A later route for the same method and path replaces the first.
  site.Route("GET", "/only-get", Body("again"));
  EXPECT_EQ(FetchUrl(Http("/only-get")).str(), "again");
}

TEST_F(StandInSiteTest, SlowAnswerComesInPieces) {
  testsite::Response slow = Body("abcdefghij");
  slow.pieceSize = 3;
  slow.pauseBeforePiece = std::chrono::milliseconds(20);
  site.Route("GET", "/slow", slow);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FetchUrl(Http("/slow")).str(), "abcdefghij");
  // Four pieces, each after its pause.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
}

TEST_F(StandInSiteTest, HandlerThatThrowsGives500) {
  site.Route("GET", "/throws", [](const testsite::RecordedRequest&) -> testsite::Response {
    throw std::runtime_error("no");
  });
  EXPECT_EQ(FetchUrl(Http("/throws")).str(), "handler failed");
}

TEST_F(StandInSiteTest, ConcurrentClientsAreAllRecorded) {
  site.Route("GET", "/n", Body("n"));
  std::vector<std::thread> clients;
  for (int i = 0; i < 8; ++i) {
    clients.emplace_back([this] {
      for (int k = 0; k < 10; ++k)
        FetchUrl(Http("/n"));
    });
  }
  for (auto& client : clients)
    client.join();
  EXPECT_EQ(site.Requests().size(), 80u);
}

TEST(StandInSiteLifetimeTest, StopsPromptlyWhileAnAnswerIsPaused) {
  SetTimeoutsForTesting(std::chrono::milliseconds(2000), std::chrono::milliseconds(30000));
  std::thread client;
  {
    testsite::StandInSite site;
    testsite::Response stuck;
    stuck.body = "xy";
    stuck.pieceSize = 1;
    // Far beyond the test's time limit, so a destructor that waits instead of waking the
    // answer makes the test time out.
    stuck.pauseBeforePiece = std::chrono::hours(1);
    site.Route("GET", "/stuck", stuck);
    std::string url = "http://" + site.HttpHost() + "/stuck";
    client = std::thread([url] { FetchUrl(Text(url)); });
    while (site.Requests().empty())
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }  // the destructor must wake the paused answer instead of waiting for it
  client.join();
  SetTimeoutsForTesting(std::chrono::milliseconds(0), std::chrono::milliseconds(0));
}

}  // namespace
}  // namespace quorvane::test_support
