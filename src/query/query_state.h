// The program-wide state of the video query: it lives from start-up to exit and is written only
// by QueryVideo.
#pragma once

#include "text/text.h"
#include "xml/xml_document.h"

namespace quorvane {

struct QueryState {
  // Created in this order: the document first, then the three values empty.
  XmlDocument playUrlDoc;
  Text currentAv;
  Text currentCid;
  Bytes playUrlXml;
};

}  // namespace quorvane
