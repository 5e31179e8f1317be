#include "demo/site_pages.h"

namespace quorvane::demo {
namespace {

// Keeps a site text from ending an attribute or opening a tag early. The sample texts hold
// none of these characters; an account name typed by the user may.
std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string PageStart(std::string_view title) {
  return "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
         EscapeHtml(title) + " - Quorvane 演示站</title>\n</head>\n<body>\n";
}

constexpr std::string_view kPageEnd = "</body>\n</html>\n";

// The order of the blocks matters: each field's left marker must first occur at that field,
// so nothing before the player may contain "cid=", nothing before the uploader " alt=", and
// the cover must be the first <img src=.
std::string DetailsPage(const SampleVideo& video, std::string_view httpHost) {
  std::string title = EscapeHtml(video.title);
  std::string uploader = EscapeHtml(video.uploader);
  std::string page = PageStart(video.title);
  page += "<div class=\"viewbox\">\n";
  page += "<div class=\"v-title\"><h1 title=\"" + title + "\">" + title + "</h1></div>\n";
  page +=
      "<div class=\"v-up\"><a class=\"up-name\" href=\"/space/10086\"><img class=\"face\" "
      "data-face=\"/face/10086.png\" title=\"" +
      uploader + "\" alt=\"" + uploader + "\" /></a></div>\n";
  page += "<div class=\"v-time\"><time datetime=\"" + std::string(video.uploadTime) + "\"><i>" +
          std::string(video.uploadTime) + "</i></time></div>\n";
  page += "<div class=\"cover\"><img src=\"http://" + std::string(httpHost) + CoverPath(video) +
          "\" style=\"width:320px;height:180px\" /></div>\n";
  page += "</div>\n";
  if (video.cid.empty()) {
    page += "<div id=\"player\">视频正在转码中，请稍后再来。</div>\n";
  } else {
    page +=
        "<div id=\"player\"><script type=\"text/javascript\">EmbedPlayer('player', "
        "\"/play.swf\", \"cid=" +
        std::string(video.cid) + "&aid=" + std::string(video.av) + "\");</script></div>\n";
  }
  page += kPageEnd;
  return page;
}

std::string DuplicatePage(const SampleVideo& video) {
  std::string target(video.duplicateOf);
  std::string page = PageStart("撞车提示");
  page += "<div class=\"notice\">本视频已撞车或被版权所有者申述，请观看 <a href='/video/av" +
          target + "/'>av" + target + "</a></div>\n";
  page += kPageEnd;
  return page;
}

std::string CannotWatchPage() {
  std::string page = PageStart("视频不见了");
  page +=
      "<div class=\"error\"><div class=\"title\"><b>好像不能看了...</b></div>"
      "<p>这个视频已经被删除，或者只有会员才能观看。</p></div>\n";
  page += kPageEnd;
  return page;
}

}  // namespace

std::string CoverPath(const SampleVideo& video) {
  return "/cover/av" + std::string(video.av) + (video.cover == CoverFormat::Png ? ".png" : ".jpg");
}

std::string SegmentPath(const SampleVideo& video, int segment, bool backup) {
  return std::string(backup ? "/media-backup/" : "/media/") + std::string(video.cid) + "-" +
         std::to_string(segment) + ".flv";
}

std::string VideoPage(const SampleVideo& video, std::string_view httpHost) {
  switch (video.kind) {
    case PageKind::Duplicate:
      return DuplicatePage(video);
    case PageKind::CannotWatch:
      return CannotWatchPage();
    case PageKind::Normal:
    case PageKind::WithoutCid:
      break;
  }
  return DetailsPage(video, httpHost);
}

std::string PlayUrlAnswer(const SampleVideo& video, std::string_view httpHost) {
  std::string answer =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<video>\n<result>suee</result>\n"
      "<timelength>" +
      std::to_string(video.segments * 122500) +
      "</timelength>\n"
      "<format>flv</format>\n<accept_quality>3,2,1</accept_quality>\n";
  for (int segment = 1; segment <= video.segments; ++segment) {
    answer += "<durl>\n<order>" + std::to_string(segment) +
              "</order>\n<length>122500</length>\n<size>9876543</size>\n";
    for (bool backup : {false, true}) {
      answer += "<url><![CDATA[http://" + std::string(httpHost) +
                SegmentPath(video, segment, backup) + "?expires=1316000000&ssig=demo]]></url>\n";
    }
    answer += "</durl>\n";
  }
  answer += "</video>\n";
  return answer;
}

std::string PlayUrlRefusal() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<video>\n<result>error</result>\n"
         "<message>no such video</message>\n</video>\n";
}

std::string LoginPage(LoginOutcome outcome, std::string_view account) {
  std::string page = PageStart("登录");
  switch (outcome) {
    case LoginOutcome::WrongCaptcha:
      page += "<p class=\"error\">验证码错误，请刷新验证码后重试。</p>\n";
      break;
    case LoginOutcome::WrongPassword:
      page += "<p class=\"error\">密码错误，请重新输入。</p>\n";
      break;
    case LoginOutcome::UnknownAccount:
      page += "<p class=\"error\">用户名不存在，请检查后重试。</p>\n";
      break;
    case LoginOutcome::Success:
      page += "<p class=\"ok\">欢迎回来，" + EscapeHtml(account) + "！</p>\n";
      break;
  }
  page += kPageEnd;
  return page;
}

std::string LogoutPage() {
  std::string page = PageStart("注销");
  page += "<p class=\"ok\">已退出登录。</p>\n";
  page += kPageEnd;
  return page;
}

}  // namespace quorvane::demo
