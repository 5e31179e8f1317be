// Runs queries the way a user does: the real MainWindow on the offscreen platform, the real
// fetch layer and an in-process stand-in site. The AV number is typed into 编辑框2 and 按钮2 is
// clicked through QTest; the log is read back whole.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "net/endpoints.h"
#include "query/query_state.h"
#include "testsite/stand_in_site.h"

namespace quorvane::query_test {

inline constexpr char kSign[] = "d2c95a0e7b13f4a8c60e5b9d27a3f1c4";

// The request target of the play-address interface for one CID.
std::string PlayUrlTarget(const std::string& cid);

// "{site}" in a text replaced by the stand-in site's host and port.
std::string WithSite(std::string text, const std::string& host);

class QueryWindowTest : public testing::Test {
 protected:
  QueryWindowTest();
  ~QueryWindowTest() override;

  // Serves `body` at `path` (UTF-8 HTML unless told otherwise); "{site}" in it is replaced.
  void Serve(const std::string& path, const std::string& body,
             const std::string& contentType = "text/html; charset=utf-8");
  // Serves the play-address interface: the answer for each CID, an empty body for others.
  void ServePlayAnswers(std::map<std::string, std::string> answersByCid);
  // Points the video-page host at a port where nothing answers.
  void MakeVideoHostUnreachable();

  // Types the AV number (UTF-8) into an emptied 编辑框2 and clicks 按钮2.
  void Query(const std::string& typedAv);

  // The whole content of 编辑框1, compared with the expected UTF-8 lines after Local; on a
  // mismatch both sides are printed as UTF-8.
  void ExpectLog(const std::string& expectedUtf8);
  // The request targets the site received, oldest first.
  std::vector<std::string> Targets() const;
  // The colour shown at a pixel inside 图片框1.
  QColor CoverPixel();

  testsite::StandInSite site_;
  QueryState state_;
  Endpoints endpoints_;
  std::unique_ptr<MainWindow> window_;

 private:
  void MakeWindow();
};

}  // namespace quorvane::query_test
