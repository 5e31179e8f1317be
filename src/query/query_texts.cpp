#include "query/query_texts.h"

#include <string>

#include "text/text_ops.h"

namespace quorvane {

namespace {

Text Rule(int leading, std::string_view words, int trailing) {
  return Text(std::string(static_cast<size_t>(leading), '=')) + Local(words) +
         Text(std::string(static_cast<size_t>(trailing), '=')) + Local("\r\n");
}

MarkerPair Markers(std::string_view left, std::string_view right) {
  return {Local(left), Local(right)};
}

QueryTexts MakeQueryTexts() {
  QueryTexts t;
  t.duplicateNotice = Markers("本视频已撞车", "所有者申述");
  t.otherAv = Markers("<a href='/video/av", "/'>");
  t.stateHeading = Markers("<div class=\"title\"><b>", "...</b>");
  t.title = Markers("<h1 title=\"", "\">");
  t.uploader = Markers("\" alt=\"", "\" />");
  t.uploadTime = Markers("\"><i>", "</i></time>");
  t.coverAddress = Markers("<img src=\"", "\" style=");
  t.cid = Markers("cid=", "&");
  t.aid = Markers("&aid=", "\"");

  t.duplicatePhrase = Local("或被版权");
  t.cannotWatchPhrase = Local("好像不能看了");

  t.durlName = Local("durl");
  t.urlName = Local("url");
  t.nameNumberJoint = Local("-");
  t.listSeparator = Local("|");

  t.lineEnd = Local("\r\n");
  t.duplicateFollowedPrefix = Local("视频撞车啦....转跳新页面AV:");
  // Five spaces after the first clause, four after the second.
  t.cannotWatchLine = Local("此视频不存在     被删除    会员的世界\r\n");
  t.detailsRule = Rule(84, "", 0);
  t.titlePrefix = Local("标题:");
  t.uploaderPrefix = Local("UP主:");
  t.uploadTimePrefix = Local("投稿时间:");
  t.coverAddressPrefix = Local("图片地址:");
  t.cidPrefix = Local("CID:");
  t.aidPrefix = Local("AID:");
  t.downloadRule = Rule(41, "视频下载地址", 27);
  t.noRootLine = Local("取下载节点失败\r\n");
  t.segmentPrefix = Local("第");
  t.segmentSuffix = Local("段:");
  t.downloadsDoneRule = Rule(38, "下载地址全部取出", 27);
  return t;
}

}  // namespace

const QueryTexts& GetQueryTexts() {
  static const QueryTexts texts = MakeQueryTexts();
  return texts;
}

}  // namespace quorvane
