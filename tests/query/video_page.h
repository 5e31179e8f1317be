// Builds the stand-in site's video pages as UTF-8 HTML from the markers the query cuts them
// with, and the log lines a query is expected to write for them. The tests keep their own copy
// of every marker and log text, so a typo on either side shows up as a mismatch.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvane::query_test {

// One video page. A field left empty (nullopt) leaves its markers out of the page.
struct PageFields {
  std::optional<std::string> title = "标题";
  std::optional<std::string> uploader = "上传者";
  std::optional<std::string> uploadTime = "2012-03-04 05:06";
  std::optional<std::string> cover;
  std::optional<std::string> cid = "123";
  std::optional<std::string> aid = "456";
  // The text between "本视频已撞车" and "所有者申述"; none when the page has no notice.
  std::optional<std::string> duplicateNotice;
  // The number in the duplicate notice's link to the other video.
  std::optional<std::string> otherAv;
  // The text between the state heading's markers.
  std::optional<std::string> stateHeading;
};

std::string VideoPageHtml(const PageFields& fields);

// The log of a page's details: the opening rule, the six field lines and the
// "视频下载地址" rule. Missing fields show as empty values.
std::string DetailLines(const PageFields& fields);
// "第n段:" lines numbered from 1, then the closing rule.
std::string SegmentLines(const std::vector<std::string>& urls);
std::string DuplicateFollowedLine(const std::string& av);
std::string CannotWatchLine();
std::string NoRootLine();
std::string DownloadsDoneRule();

// A 24-bit BMP of width × height pixels, all of one colour.
std::string SolidBmp(int width, int height, unsigned char red, unsigned char green,
                     unsigned char blue);

}  // namespace quorvane::query_test
