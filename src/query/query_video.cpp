#include "query/query_video.h"

#include "net/fetch_url.h"
#include "query/query_texts.h"
#include "query/text_extraction.h"
#include "text/encoding.h"
#include "text/text_ops.h"
#include "xml/xml_document.h"

namespace quorvane {

namespace {

Text Extract(const Text& page, const MarkerPair& markers) {
  return TextBetween(page, markers.left, markers.right);
}

Text FetchPage(const Endpoints& endpoints, const Text& av) {
  return Utf8ToGbk(FetchUrl(endpoints.VideoPage(av)));
}

void LogField(Controls& controls, const Text& prefix, const Text& value) {
  controls.AppendLog(prefix + value + GetQueryTexts().lineEnd);
}

// The root's durl children as "durl-<number>|" entries, in document order.
Text CollectDurlList(const XmlDocument& doc, const XmlNode& root) {
  const QueryTexts& t = GetQueryTexts();
  Text list;
  for (int32_t child : root.children) {
    const Text name = doc.GetNodeName(child);
    if (TextEquals(name, t.durlName)) {
      list += name + t.nameNumberJoint + IntegerToText(child) + t.listSeparator;
    }
  }
  return list;
}

// Logs every url child of the listed durl nodes as one numbered segment; the numbers run on
// across durl nodes and start at 1 in every query.
void LogSegments(Controls& controls, const XmlDocument& doc, const Text& durlList) {
  const QueryTexts& t = GetQueryTexts();
  int32_t segment = 0;
  for (const Text& piece : SplitText(durlList, t.listSeparator)) {
    const int32_t durlNumber = TextToInteger(TextAfterLast(piece, t.nameNumberJoint, false));
    // A fresh record per node: a lookup that failed must not hand on the previous node's
    // children or text.
    XmlNode durl;
    if (doc.GetNode(durlNumber, durl) == 0) continue;
    for (int32_t child : durl.children) {
      if (!TextEquals(doc.GetNodeName(child), t.urlName)) continue;
      XmlNode url;
      if (doc.GetNode(child, url) == 0) continue;
      ++segment;
      controls.AppendLog(t.segmentPrefix + IntegerToText(segment) + t.segmentSuffix + url.text +
                         t.lineEnd);
    }
  }
}

}  // namespace

void QueryVideo(Controls& controls, const Endpoints& endpoints, QueryState& state) {
  const QueryTexts& t = GetQueryTexts();

  // The number goes into the address exactly as typed; the fetch layer is what keeps control
  // bytes and spaces from reaching the request line.
  state.currentAv = controls.ReadContent(EditBox::编辑框2);
  Text page = FetchPage(endpoints, state.currentAv);

  // At most one redirection: the page a duplicate notice points to is taken as it is.
  if (TextEquals(Extract(page, t.duplicateNotice), t.duplicatePhrase)) {
    state.currentAv = Extract(page, t.otherAv);
    controls.AppendLog(t.duplicateFollowedPrefix + state.currentAv + t.lineEnd);
    page = FetchPage(endpoints, state.currentAv);
  }

  if (TextEquals(Extract(page, t.stateHeading), t.cannotWatchPhrase)) {
    controls.AppendLog(t.cannotWatchLine);
    return;
  }

  controls.AppendLog(t.detailsRule);
  LogField(controls, t.titlePrefix, Extract(page, t.title));
  LogField(controls, t.uploaderPrefix, Extract(page, t.uploader));
  LogField(controls, t.uploadTimePrefix, Extract(page, t.uploadTime));
  LogField(controls, t.coverAddressPrefix, Extract(page, t.coverAddress));

  // Written even for an empty address, so the previous video's cover never stays behind.
  controls.WritePicture(PictureBox::图片框1, FetchUrl(Extract(page, t.coverAddress)));

  state.currentCid = Extract(page, t.cid);
  LogField(controls, t.cidPrefix, state.currentCid);
  LogField(controls, t.aidPrefix, Extract(page, t.aid));
  controls.AppendLog(t.downloadRule);

  // Without a CID the previous query's play-address data stays as it was.
  if (state.currentCid.empty()) return;

  state.playUrlXml = FetchUrl(endpoints.PlayUrl(state.currentCid));
  if (state.playUrlDoc.LoadData(state.playUrlXml, 1) != 1) return;

  XmlNode root;
  if (state.playUrlDoc.GetNode(0, root) == 0) controls.AppendLog(t.noRootLine);

  LogSegments(controls, state.playUrlDoc, CollectDurlList(state.playUrlDoc, root));
  controls.AppendLog(t.downloadsDoneRule);
}

}  // namespace quorvane
