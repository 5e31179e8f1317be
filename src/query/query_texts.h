// Every fixed text of the video query in one place: the marker pairs it cuts the page with,
// the phrases and node names it compares against, and the log lines it writes. All of them
// are code-page-936 texts made once from the UTF-8 literals of query_texts.cpp.
#pragma once

#include "text/text.h"

namespace quorvane {

struct MarkerPair {
  Text left;
  Text right;
};

struct QueryTexts {
  // Marker pairs, each searched from the start of the page.
  MarkerPair duplicateNotice;
  MarkerPair otherAv;
  MarkerPair stateHeading;
  MarkerPair title;
  MarkerPair uploader;
  MarkerPair uploadTime;
  MarkerPair coverAddress;
  MarkerPair cid;
  MarkerPair aid;

  // Compared with a whole extracted text.
  Text duplicatePhrase;
  Text cannotWatchPhrase;

  // Compared with node names of the play-address document.
  Text durlName;
  Text urlName;
  // Joins a durl node's name and number, and separates the entries of the durl list.
  Text nameNumberJoint;
  Text listSeparator;

  // Log lines and line parts; every complete line ends in CR LF.
  Text lineEnd;
  Text duplicateFollowedPrefix;
  Text cannotWatchLine;
  Text detailsRule;
  Text titlePrefix;
  Text uploaderPrefix;
  Text uploadTimePrefix;
  Text coverAddressPrefix;
  Text cidPrefix;
  Text aidPrefix;
  Text downloadRule;
  Text noRootLine;
  Text segmentPrefix;
  Text segmentSuffix;
  Text downloadsDoneRule;
};

// The texts, converted on first use and kept for the rest of the run.
const QueryTexts& GetQueryTexts();

}  // namespace quorvane
