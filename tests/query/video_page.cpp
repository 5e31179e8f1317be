#include "video_page.h"

#include <cstdint>

namespace quorvane::query_test {

namespace {

std::string Or(const std::optional<std::string>& value) { return value.value_or(""); }

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string VideoPageHtml(const PageFields& f) {
  // Every marker is searched from the start of the page, so nothing before a field may hold
  // that field's left marker by accident.
  std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n";
  if (f.stateHeading) html += "<div class=\"title\"><b>" + *f.stateHeading + "...</b></div>\n";
  if (f.duplicateNotice) {
    html += "<p>本视频已撞车" + *f.duplicateNotice + "所有者申述</p>\n";
  }
  if (f.otherAv) html += "<a href='/video/av" + *f.otherAv + "/'>新视频</a>\n";
  if (f.title) html += "<h1 title=\"" + *f.title + "\">" + *f.title + "</h1>\n";
  if (f.uploader) html += "<a class=\"up\" alt=\"" + *f.uploader + "\" />\n";
  if (f.uploadTime) html += "<time class=\"at\"><i>" + *f.uploadTime + "</i></time>\n";
  if (f.cover) html += "<img src=\"" + *f.cover + "\" style=\"display:none\">\n";
  if (f.cid || f.aid) {
    html += "<embed flashvars=\"";
    if (f.cid) html += "cid=" + *f.cid + "&";
    if (f.aid) html += "&aid=" + *f.aid + "\"";
    html += "></embed>\n";
  }
  html += "</body></html>\n";
  return html;
}

std::string DetailLines(const PageFields& f) {
  return std::string(84, '=') + "\r\n" + "标题:" + Or(f.title) + "\r\n" + "UP主:" + Or(f.uploader) +
         "\r\n" + "投稿时间:" + Or(f.uploadTime) + "\r\n" + "图片地址:" + Or(f.cover) + "\r\n" +
         "CID:" + Or(f.cid) + "\r\n" + "AID:" + Or(f.aid) + "\r\n" + std::string(41, '=') +
         "视频下载地址" + std::string(27, '=') + "\r\n";
}

std::string SegmentLines(const std::vector<std::string>& urls) {
  std::string lines;
  int number = 0;
  for (const std::string& url : urls)
    lines += "第" + std::to_string(++number) + "段:" + url + "\r\n";
  return lines + DownloadsDoneRule();
}

std::string DuplicateFollowedLine(const std::string& av) {
  return "视频撞车啦....转跳新页面AV:" + av + "\r\n";
}

std::string CannotWatchLine() { return "此视频不存在     被删除    会员的世界\r\n"; }

std::string NoRootLine() { return "取下载节点失败\r\n"; }

std::string DownloadsDoneRule() {
  return std::string(38, '=') + "下载地址全部取出" + std::string(27, '=') + "\r\n";
}

std::string SolidBmp(int width, int height, unsigned char red, unsigned char green,
                     unsigned char blue) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
  std::string bmp = "BM";
  PutLe(bmp, 14 + 40 + pixelBytes, 4);
  PutLe(bmp, 0, 4);
  PutLe(bmp, 14 + 40, 4);
  PutLe(bmp, 40, 4);
  PutLe(bmp, static_cast<uint32_t>(width), 4);
  PutLe(bmp, static_cast<uint32_t>(height), 4);
  PutLe(bmp, 1, 2);
  PutLe(bmp, 24, 2);
  PutLe(bmp, 0, 4);
  PutLe(bmp, pixelBytes, 4);
  PutLe(bmp, 2835, 4);
  PutLe(bmp, 2835, 4);
  PutLe(bmp, 0, 4);
  PutLe(bmp, 0, 4);
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x)
      row += {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red)};
    row.resize(rowBytes, '\0');
    bmp += row;
  }
  return bmp;
}

}  // namespace quorvane::query_test
