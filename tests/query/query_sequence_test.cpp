// Queries one after another in the same window: what they leave in the log, in 图片框1 and in
// the program-wide state for the next one.
#include <gtest/gtest.h>

#include <QColor>
#include <string>

#include "query_window_fixture.h"
#include "text/text_ops.h"
#include "video_page.h"
#include "xml/xml_document.h"

namespace quorvane::query_test {
namespace {

const std::string kTwoSegments =
    "<video><durl><url>http://cdn.example/a1.flv</url><url>http://cdn.example/a2.flv</url>"
    "</durl></video>";
const std::string kThreeSegments =
    "<video><durl><url>http://cdn.example/b1.flv</url></durl>"
    "<durl><url>http://cdn.example/b2.flv</url><url>http://cdn.example/b3.flv</url></durl>"
    "</video>";
const std::string kUnparsable = "<video><durl><url>x</url></durl></wrong>";

PageFields Page(std::string title, std::optional<std::string> cid,
                std::optional<std::string> cover = std::nullopt) {
  PageFields fields;
  fields.title = std::move(title);
  fields.cid = std::move(cid);
  fields.cover = std::move(cover);
  return fields;
}

using QuerySequenceTest = QueryWindowTest;

TEST_F(QuerySequenceTest, SecondQueryAppendsAndNumbersFromOne) {
  const PageFields first = Page("第一个", "1", "http://{site}/red.bmp");
  const PageFields second = Page("第二个", "2", "http://{site}/blue.bmp");
  Serve("/video/av1", VideoPageHtml(first));
  Serve("/video/av2", VideoPageHtml(second));
  Serve("/red.bmp", SolidBmp(8, 8, 255, 0, 0), "image/bmp");
  Serve("/blue.bmp", SolidBmp(8, 8, 0, 0, 255), "image/bmp");
  ServePlayAnswers({{"1", kTwoSegments}, {"2", kThreeSegments}});

  Query("1");
  EXPECT_EQ(CoverPixel(), QColor(255, 0, 0));
  Query("2");

  ExpectLog(DetailLines(first) +
            SegmentLines({"http://cdn.example/a1.flv", "http://cdn.example/a2.flv"}) +
            DetailLines(second) +
            SegmentLines({"http://cdn.example/b1.flv", "http://cdn.example/b2.flv",
                          "http://cdn.example/b3.flv"}));
  EXPECT_EQ(CoverPixel(), QColor(0, 0, 255));
  EXPECT_EQ(Targets(), (std::vector<std::string>{"/video/av1", "/red.bmp", PlayUrlTarget("1"),
                                                 "/video/av2", "/blue.bmp", PlayUrlTarget("2")}));
}

TEST_F(QuerySequenceTest, CoverIsClearedWhenTheNextPageHasNoneOrNoPicture) {
  const QColor red(255, 0, 0);
  Serve("/video/av1", VideoPageHtml(Page("有封面", std::nullopt, "http://{site}/red.bmp")));
  Serve("/video/av2", VideoPageHtml(Page("无封面", std::nullopt)));
  Serve("/video/av3", VideoPageHtml(Page("坏封面", std::nullopt, "http://{site}/page.html")));
  Serve("/red.bmp", SolidBmp(8, 8, 255, 0, 0), "image/bmp");
  Serve("/page.html", "<html>not a picture</html>");

  const QColor background = CoverPixel();
  ASSERT_NE(background, red);

  Query("1");
  EXPECT_EQ(CoverPixel(), red);
  Query("2");
  EXPECT_EQ(CoverPixel(), background);
  Query("1");
  EXPECT_EQ(CoverPixel(), red);
  Query("3");
  EXPECT_EQ(CoverPixel(), background);
  // An empty address is never sent: only the picture and the HTML page were asked for.
  EXPECT_EQ(Targets(),
            (std::vector<std::string>{"/video/av1", "/red.bmp", "/video/av2", "/video/av1",
                                      "/red.bmp", "/video/av3", "/page.html"}));
}

TEST_F(QuerySequenceTest, QueryWithoutCidKeepsThePreviousPlayAddressData) {
  Serve("/video/av1", VideoPageHtml(Page("有CID", "1")));
  Serve("/video/av2", VideoPageHtml(Page("没有CID", std::nullopt)));
  ServePlayAnswers({{"1", kTwoSegments}});

  Query("1");
  Query("2");

  EXPECT_EQ(state_.currentAv, Local("2"));
  EXPECT_EQ(state_.currentCid, Text());
  EXPECT_EQ(state_.playUrlXml, Bytes(kTwoSegments));
  EXPECT_EQ(state_.playUrlDoc.GetNodeName(0), Local("video"));
  EXPECT_EQ(Targets(), (std::vector<std::string>{"/video/av1", PlayUrlTarget("1"), "/video/av2"}));
}

TEST_F(QuerySequenceTest, UnparsableAnswerLeavesTheDocumentEmpty) {
  Serve("/video/av1", VideoPageHtml(Page("好的", "1")));
  Serve("/video/av2", VideoPageHtml(Page("坏的", "2")));
  ServePlayAnswers({{"1", kTwoSegments}, {"2", kUnparsable}});

  Query("1");
  Query("2");

  EXPECT_EQ(state_.currentCid, Local("2"));
  EXPECT_EQ(state_.playUrlXml, Bytes(kUnparsable));
  XmlNode root;
  EXPECT_EQ(state_.playUrlDoc.GetNode(0, root), 0);
  EXPECT_EQ(state_.playUrlDoc.GetNodeName(0), Text());
}

}  // namespace
}  // namespace quorvane::query_test
