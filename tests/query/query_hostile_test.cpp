// Pages and input written to break the query: huge runs of markers, and request-splitting
// bytes in the AV number, the CID and the cover address. Each must finish, log what the
// markers give, and put nothing of its own into a request the site receives.
#include <gtest/gtest.h>

#include <string>

#include "query/query_state.h"
#include "query/query_video.h"
#include "query_window_fixture.h"
#include "support/fake_controls.h"
#include "text/text_ops.h"
#include "video_page.h"

namespace quorvane::query_test {
namespace {

using test_support::FakeControls;

std::string Repeat(const std::string& piece, size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i)
    out += piece;
  return out;
}

// Nothing the page or the user typed may reach the site as a header or a second request.
void ExpectNothingInjected(const std::vector<testsite::RecordedRequest>& requests) {
  for (const testsite::RecordedRequest& request : requests) {
    EXPECT_EQ(request.target.find_first_of("\r\n "), std::string::npos) << request.target;
    EXPECT_EQ(request.Header("X-Injected"), "") << request.target;
    EXPECT_NE(request.path, "/evil");
  }
}

using QueryHostileTest = QueryWindowTest;

// Two megabytes of near-misses of every marker before the real fields: each search walks the
// whole page through partial matches, and still finds exactly the fields at its end.
TEST_F(QueryHostileTest, MegabytesOfNearMissMarkersFinish) {
  const std::string nearMisses =
      "<h1 title <img src ci=d= &aid 本视频已撞<div class=\"title\"> <b>\" alt \"><b>";
  const PageFields fields;
  const std::string page = Repeat(nearMisses, 30000) + VideoPageHtml(fields);
  ASSERT_GT(page.size(), 2u * 1024 * 1024);
  Serve("/video/av1", page);
  ServePlayAnswers({{"123", "<video><durl><url>u</url></durl></video>"}});

  Query("1");

  ExpectLog(DetailLines(fields) + SegmentLines({"u"}));
  EXPECT_EQ(Targets(), (std::vector<std::string>{"/video/av1", PlayUrlTarget("123")}));
}

// Fields megabytes long, right markers only at the very end, and so a CID of megabytes that
// goes into the play-address request. The log box once needed ten minutes to lay out the two
// lines, each one unbreakable run; the whole query now runs through the real window.
TEST_F(QueryHostileTest, MegabyteFieldsFinish) {
  const std::string run = Repeat("cid=", 512 * 1024);
  Serve("/video/av1", "<h1 title=\"" + run + "\">&");
  Serve("/playurl", "", "text/xml");

  Query("1");

  PageFields expected;
  expected.title = run;
  expected.uploader = expected.uploadTime = expected.cover = expected.aid = std::nullopt;
  expected.cid = run.substr(4) + "\">";
  // Whether the fetch layer sends an address this long or refuses it, the answer is empty. Not
  // ExpectLog: a mismatch would print megabytes.
  EXPECT_TRUE(window_->controls().ReadContent(EditBox::编辑框1) ==
              Local(DetailLines(expected) + NoRootLine() + DownloadsDoneRule()));
  const auto requests = site_.Requests();
  ASSERT_GE(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "/video/av1");
  for (size_t i = 1; i < requests.size(); ++i)
    EXPECT_EQ(requests[i].path, "/playurl");
  EXPECT_LE(requests.size(), 2u);
}

TEST_F(QueryHostileTest, RequestSplittingInCidAndCoverAddressIsNotSent) {
  PageFields fields;
  fields.cid = "1 HTTP/1.0\r\nX-Injected: yes\r\n\r\nGET /evil";
  fields.cover = "http://{site}/cover.bmp\r\nX-Injected: yes";
  Serve("/video/av1", VideoPageHtml(fields));
  Serve("/cover.bmp", SolidBmp(4, 4, 255, 0, 0), "image/bmp");
  Serve("/playurl", "<video><durl><url>never</url></durl></video>", "text/xml");

  Query("1");

  // Both fetches fail like an unreachable site: no cover, an empty play-address answer.
  ExpectLog(DetailLines(fields) + NoRootLine() + DownloadsDoneRule());
  EXPECT_EQ(Targets(), std::vector<std::string>{"/video/av1"});
  ExpectNothingInjected(site_.Requests());
}

TEST_F(QueryHostileTest, TypedSpacesDoNotSplitTheRequestLine) {
  PageFields noCid;
  noCid.cid = std::nullopt;
  Serve("/video/av1%202", VideoPageHtml(noCid));

  Query("1 2");

  ExpectNothingInjected(site_.Requests());
  EXPECT_EQ(Targets(), std::vector<std::string>{"/video/av1%202"});
  EXPECT_EQ(state_.currentAv, Local("1 2"));
}

// A line edit takes no line break from the keyboard, so this one goes in through a fake
// 编辑框2 straight into QueryVideo.
TEST_F(QueryHostileTest, LineBreaksInTheAvNumberAreNotSent) {
  FakeControls controls;
  const Text av = Local("1 HTTP/1.0\r\nX-Injected: yes\r\n\r\nGET /evil");
  controls.WriteContent(EditBox::编辑框2, av);
  Serve("/video/av1", VideoPageHtml(PageFields{}));
  QueryState state;

  QueryVideo(controls, endpoints_, state);

  PageFields nothing;
  nothing.title = nothing.uploader = nothing.uploadTime = nothing.cover = nothing.cid =
      nothing.aid = std::nullopt;
  EXPECT_EQ(controls.ReadContent(EditBox::编辑框1), Local(DetailLines(nothing)));
  EXPECT_EQ(state.currentAv, av);
  EXPECT_EQ(Targets(), std::vector<std::string>{});
  ASSERT_EQ(controls.pictures.size(), 1u);
  EXPECT_EQ(controls.pictures[0].box, PictureBox::图片框1);
  EXPECT_TRUE(controls.pictures[0].picture.empty());
}

}  // namespace
}  // namespace quorvane::query_test
