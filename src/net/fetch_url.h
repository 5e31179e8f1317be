// A plain GET of one address into a byte buffer, through the process-wide cookie store.
#pragma once

#include "text/text.h"

namespace quorvane {

// One GET over HTTP/1.0 with the single header "Accept: */*", never from a cache, the fragment
// cut at "#", redirects followed (within a cap) and the status never looked at. Empty for an
// empty address and for every failure before the answer's headers; the bytes gathered so far
// when a read fails part-way. Dispatches no window messages.
Bytes FetchUrl(const Text& address);

}  // namespace quorvane
