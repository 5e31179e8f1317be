// The HTTP request routine for requests that need a method, headers, a body or a proxy.
#pragma once

#include "text/text.h"

namespace quorvane {

// Sends one HTTP/1.1 request and answers the body as text (cut at its first zero byte); the
// empty text on any failure. `method` (optional, in/out): "POST" in any case posts, anything
// else becomes "GET" in the caller's variable. `proxy`: when given (even empty), the request
// goes through "http=" + proxy. `headers` (optional, in/out): extra lines each ending in CR LF;
// on return the whole block that was sent. `body`: sent only with a POST. `responseHeaders`
// (optional, out): the raw response headers. Window messages are dispatched before each
// 512-byte chunk of the answer, so other handlers may run nested inside this call.
// Accepts "http://", "https://" (certificate verified, port 443 by default) and prefix-less URLs.
// `url` and `body` are taken as copies: a caller may pass the same variable as `method` or
// `headers`, and writing those back must not change the address or the body being sent.
Text WebRequest(Text url, Text* method = nullptr, const Text* proxy = nullptr,
                Text* headers = nullptr, Text body = {}, Text* responseHeaders = nullptr);

}  // namespace quorvane
