// The video query: the handler of 按钮2.
#pragma once

#include "controls/controls.h"
#include "net/endpoints.h"
#include "query/query_state.h"

namespace quorvane {

// Looks up the AV number typed into 编辑框2 and appends everything it finds to the log box.
void QueryVideo(Controls& controls, const Endpoints& endpoints, QueryState& state);

}  // namespace quorvane
