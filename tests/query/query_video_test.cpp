// The video query end to end: each scenario is the stand-in site's canned answers, what the
// user types, the whole log expected in 编辑框1 and the requests the site must have seen.
#include <gtest/gtest.h>

#include <QColor>
#include <optional>
#include <string>
#include <vector>

#include "query_window_fixture.h"
#include "text/text_ops.h"
#include "video_page.h"

namespace quorvane::query_test {
namespace {

struct Answer {
  std::string path;
  std::string body;
  std::string contentType = "text/html; charset=utf-8";
};

struct Scenario {
  const char* name;
  std::string typedAv;
  std::vector<Answer> answers;
  std::string expectedLog;
  std::vector<std::string> expectedTargets;
  // The AV number the query settled on, when the scenario checks it.
  std::optional<std::string> expectedCurrentAv = std::nullopt;
  bool unreachable = false;
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

const std::string kCover = "http://{site}/cover.bmp";

PageFields Page(std::string title, std::optional<std::string> cid = "123") {
  PageFields fields;
  fields.title = std::move(title);
  fields.cid = std::move(cid);
  return fields;
}

PageFields WithCover(PageFields fields) {
  fields.cover = kCover;
  return fields;
}

Answer VideoAnswer(const std::string& av, const PageFields& fields) {
  return {"/video/av" + av, VideoPageHtml(fields)};
}

Answer PlayAnswer(std::string xml, std::string contentType = "text/xml") {
  return {"/playurl", std::move(xml), std::move(contentType)};
}

Answer CoverAnswer() { return {"/cover.bmp", SolidBmp(8, 8, 255, 0, 0), "image/bmp"}; }

// Two durl nodes with two url children each, one address written as CDATA with "&" and "<" in
// it, children named "URL" and "urls" that must be skipped, and a durl below a deeper element
// that must not be found.
const std::string kTwoDurlXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<video>\n"
    "  <result>suee</result>\n"
    "  <durl>\n"
    "    <order>1</order>\n"
    "    <url><![CDATA[http://cdn.example/1.flv?a=1&b=<2>]]></url>\n"
    "    <URL>http://skipped.example/capitals</URL>\n"
    "    <urls>http://skipped.example/longer</urls>\n"
    "    <url>http://cdn.example/1b.flv</url>\n"
    "  </durl>\n"
    "  <durl>\n"
    "    <url>http://cdn.example/2.flv</url>\n"
    "    <url>http://cdn.example/2b.flv</url>\n"
    "  </durl>\n"
    "  <deeper><durl><url>http://skipped.example/nested</url></durl></deeper>\n"
    "</video>\n";

const std::vector<std::string> kTwoDurlUrls = {
    "http://cdn.example/1.flv?a=1&b=<2>", "http://cdn.example/1b.flv", "http://cdn.example/2.flv",
    "http://cdn.example/2b.flv"};

std::string OneUrlXml(const std::string& declaration, const std::string& url) {
  return declaration + "<video><durl><url>" + url + "</url></durl></video>";
}

PageFields DuplicatePage(std::optional<std::string> otherAv, std::string notice = "或被版权") {
  PageFields fields = Page("撞车页");
  fields.duplicateNotice = std::move(notice);
  fields.otherAv = std::move(otherAv);
  return fields;
}

PageFields HeadingPage(std::string heading) {
  PageFields fields = Page("状态页");
  fields.stateHeading = std::move(heading);
  return fields;
}

PageFields NoMarkers() {
  PageFields fields;
  fields.title = fields.uploader = fields.uploadTime = fields.cover = fields.cid = fields.aid =
      std::nullopt;
  return fields;
}

std::vector<Scenario> Scenarios() {
  const PageFields normal = WithCover(Page("正常视频"));
  const PageFields noCid = Page("没有CID", std::nullopt);
  const PageFields noTitle = [] {
    PageFields fields = Page("", "77");
    fields.title = std::nullopt;
    return fields;
  }();
  const PageFields other = Page("新视频", std::nullopt);
  const PageFields chinese = Page("中文地址", "9");

  return {
      {"NormalVideoNumbersSegmentsAcrossDurlNodes",
       "1219760",
       {VideoAnswer("1219760", normal), CoverAnswer(), PlayAnswer(kTwoDurlXml)},
       DetailLines(normal) + SegmentLines(kTwoDurlUrls),
       {"/video/av1219760", "/cover.bmp", PlayUrlTarget("123")},
       "1219760"},
      {"DuplicateFollowedOnce",
       "100",
       {VideoAnswer("100", DuplicatePage("200")), VideoAnswer("200", other)},
       DuplicateFollowedLine("200") + DetailLines(other),
       {"/video/av100", "/video/av200"},
       "200"},
      {"DuplicateOfDuplicateNotFollowedAgain",
       "101",
       {VideoAnswer("101", DuplicatePage("201")), VideoAnswer("201", DuplicatePage("301")),
        VideoAnswer("301", other), PlayAnswer(OneUrlXml("", "http://cdn.example/d.flv"))},
       DuplicateFollowedLine("201") + DetailLines(DuplicatePage("301")) +
           SegmentLines({"http://cdn.example/d.flv"}),
       {"/video/av101", "/video/av201", PlayUrlTarget("123")},
       "201"},
      {"DuplicateNoticeNotExactlyThePhrase",
       "102",
       {VideoAnswer("102", DuplicatePage("202", "或被版权了")), VideoAnswer("202", other),
        PlayAnswer(OneUrlXml("", "http://cdn.example/n.flv"))},
       DetailLines(DuplicatePage("202", "或被版权了")) + SegmentLines({"http://cdn.example/n.flv"}),
       {"/video/av102", PlayUrlTarget("123")},
       "102"},
      {"DuplicateWithoutLinkFetchesBareAddress",
       "103",
       {VideoAnswer("103", DuplicatePage(std::nullopt)), VideoAnswer("", noCid)},
       DuplicateFollowedLine("") + DetailLines(noCid),
       {"/video/av103", "/video/av"},
       ""},
      {"CannotWatchEndsAfterOneLine",
       "104",
       {VideoAnswer("104", HeadingPage("好像不能看了"))},
       CannotWatchLine(),
       {"/video/av104"}},
      {"CannotWatchPhraseWithOtherTextIsNotRecognised",
       "105",
       {VideoAnswer("105", HeadingPage("视频好像不能看了")), PlayAnswer(OneUrlXml("", "u"))},
       DetailLines(HeadingPage("视频好像不能看了")) + SegmentLines({"u"}),
       {"/video/av105", PlayUrlTarget("123")}},
      {"PageWithoutTitleMarkers",
       "106",
       {VideoAnswer("106", noTitle), PlayAnswer(OneUrlXml("", "t"))},
       DetailLines(noTitle) + SegmentLines({"t"}),
       {"/video/av106", PlayUrlTarget("77")}},
      {"EmptyAvFetchesBareAddress",
       "",
       {VideoAnswer("", noCid)},
       DetailLines(noCid),
       {"/video/av"},
       ""},
      {"UnreachableSiteLogsEmptyDetails", "107", {}, DetailLines(NoMarkers()), {}, "107", true},
      {"NoCidEndsAfterDownloadRule",
       "108",
       {VideoAnswer("108", noCid)},
       DetailLines(noCid),
       {"/video/av108"}},
      {"EmptyPlayAnswerHasNoRoot",
       "109",
       {VideoAnswer("109", chinese), PlayAnswer("")},
       DetailLines(chinese) + NoRootLine() + DownloadsDoneRule(),
       {"/video/av109", PlayUrlTarget("9")}},
      {"UnparsablePlayAnswerEndsSilently",
       "110",
       {VideoAnswer("110", chinese), PlayAnswer("<video><durl><url>x</url></durl></wrong>")},
       DetailLines(chinese),
       {"/video/av110", PlayUrlTarget("9")}},
      {"NoDurlNodesOrNoUrlChildren",
       "111",
       {VideoAnswer("111", chinese),
        PlayAnswer("<video><other><url>x</url></other><durl></durl><durl><u>y</u></durl></video>")},
       DetailLines(chinese) + DownloadsDoneRule(),
       {"/video/av111", PlayUrlTarget("9")}},
      {"PlayAnswerDeclaredGb2312",
       "112",
       {VideoAnswer("112", chinese),
        PlayAnswer(Local(OneUrlXml("<?xml version=\"1.0\" encoding=\"gb2312\"?>",
                                   "http://cdn.example/视频一.flv"))
                       .str(),
                   "text/xml; charset=gb2312")},
       DetailLines(chinese) + SegmentLines({"http://cdn.example/视频一.flv"}),
       {"/video/av112", PlayUrlTarget("9")}},
      {"PlayAnswerDeclaredUtf8",
       "113",
       {VideoAnswer("113", chinese),
        PlayAnswer(OneUrlXml("<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                             "http://cdn.example/视频二.flv"))},
       DetailLines(chinese) + SegmentLines({"http://cdn.example/视频二.flv"}),
       {"/video/av113", PlayUrlTarget("9")}},
      // Without a declaration the answer is still read as UTF-8.
      {"PlayAnswerUndeclaredReadAsUtf8",
       "114",
       {VideoAnswer("114", chinese), PlayAnswer(OneUrlXml("", "http://cdn.example/视频三.flv"))},
       DetailLines(chinese) + SegmentLines({"http://cdn.example/视频三.flv"}),
       {"/video/av114", PlayUrlTarget("9")}},
  };
}

class QueryScenarioTest : public QueryWindowTest, public testing::WithParamInterface<Scenario> {};

TEST_P(QueryScenarioTest, LogsExactlyAndSendsExpectedRequests) {
  const Scenario& s = GetParam();
  if (s.unreachable) MakeVideoHostUnreachable();
  for (const Answer& answer : s.answers)
    Serve(answer.path, answer.body, answer.contentType);

  Query(s.typedAv);

  ExpectLog(s.expectedLog);
  EXPECT_EQ(Targets(), s.expectedTargets);
  if (s.expectedCurrentAv) {
    EXPECT_EQ(state_.currentAv, Local(*s.expectedCurrentAv));
  }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, QueryScenarioTest, testing::ValuesIn(Scenarios()),
                         [](const testing::TestParamInfo<Scenario>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quorvane::query_test
