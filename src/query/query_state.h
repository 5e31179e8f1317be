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

  // Members alone would be freed last-declared first. At exit the three values go first, in
  // declaration order, and the document last: it is destroyed after this body has run.
  ~QueryState() {
    currentAv = Text();
    currentCid = Text();
    playUrlXml = Bytes();
  }
};

}  // namespace quorvane
