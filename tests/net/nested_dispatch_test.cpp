// WebRequest dispatches waiting messages while it reads the answer, and handlers that run then
// may make requests of their own.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "net/fetch_url.h"
#include "net/web_request.h"
#include "site_fixture.h"
#include "text/services.h"

namespace quorvane::test_support {
namespace {

// A plain message queue standing in for the window's.
class NestedDispatchTest : public SiteTest {
 protected:
  void SetUp() override {
    SiteTest::SetUp();
    SetPendingEventsDispatcher([this] {
      ++dispatches;
      while (!queue.empty()) {
        std::function<void()> handler = std::move(queue.front());
        queue.pop_front();
        handler();
      }
    });
  }
  void TearDown() override {
    SetPendingEventsDispatcher(nullptr);
    SiteTest::TearDown();
  }

  std::deque<std::function<void()>> queue;
  int dispatches = 0;
};

TEST_F(NestedDispatchTest, HandlerPostedBeforeRunsInsideTheReadLoop) {
  std::string outerBody(2000, 'o');
  testsite::Response slow = Body(outerBody);
  slow.pieceSize = 512;
  slow.pauseBeforePiece = std::chrono::milliseconds(5);
  site.Route("GET", "/outer", slow);
  site.Route("GET", "/inner", Body("inner bytes"));
  site.Route("POST", "/inner-login", Body("inner login"));

  Bytes innerFetch;
  Text innerRequest;
  queue.push_back([&] {
    innerFetch = FetchUrl(Http("/inner"));
    // A second event, posted from inside the first, runs at a later dispatch of the outer loop.
    queue.push_back([&] {
      Text method("POST");
      innerRequest = WebRequest(Http("/inner-login"), &method, nullptr, nullptr, Text("x=1"));
    });
  });

  Text outer = WebRequest(Http("/outer"));

  EXPECT_EQ(outer.str(), outerBody);
  EXPECT_EQ(innerFetch.str(), "inner bytes");
  EXPECT_EQ(innerRequest.str(), "inner login");
  auto requests = site.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].path, "/outer");  // the nested calls came once the answer had begun
  // Before each of at least four 512-byte chunks and before the final empty read; the nested
  // WebRequest dispatched for its own answer too.
  EXPECT_GE(dispatches, 5 + 2);
}

TEST_F(NestedDispatchTest, NothingIsDispatchedWhenNoAnswerArrives) {
  EXPECT_TRUE(WebRequest(Text("http://127.0.0.1:1/x")).empty());
  EXPECT_EQ(dispatches, 0);
}

TEST_F(NestedDispatchTest, EmptyBodyStillDispatchesOnce) {
  site.Route("GET", "/empty", Body(""));
  EXPECT_TRUE(WebRequest(Http("/empty")).empty());
  EXPECT_EQ(dispatches, 1);
}

TEST_F(NestedDispatchTest, FetchUrlDispatchesNothing) {
  site.Route("GET", "/f", Body(std::string(5000, 'f')));
  EXPECT_EQ(FetchUrl(Http("/f")).size(), 5000u);
  EXPECT_EQ(dispatches, 0);
}

}  // namespace
}  // namespace quorvane::test_support
