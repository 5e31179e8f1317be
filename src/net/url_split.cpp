// Splitting of WebRequest URLs into host, port and path. Positions are 1-based byte positions;
// the "/" searches step over two-byte characters, so a trail byte that happens to be 0x2F is
// never taken for a separator.
#include "net/url_split.h"

#include <cmath>
#include <limits>

#include "text/text_ops.h"

namespace quorvane {
namespace net {

UrlScheme SchemeOfUrl(const Text& url) {
  if (TextEqualsNoCase(TextLeft(url, 7), Text("http://"))) return UrlScheme::kHttp;
  if (TextEqualsNoCase(TextLeft(url, 8), Text("https://"))) return UrlScheme::kHttps;
  return UrlScheme::kNone;
}

}  // namespace net

namespace {

// Position of the first byte after the scheme prefix: 8 for http, 9 for https, 1 without.
int32_t HostPosition(const Text& url) {
  switch (net::SchemeOfUrl(url)) {
    case net::UrlScheme::kHttp:
      return 8;
    case net::UrlScheme::kHttps:
      return 9;
    case net::UrlScheme::kNone:
      return 1;
  }
  return 1;
}

Text Authority(const Text& url) {
  int32_t start = HostPosition(url);
  int32_t slash = FindText(url, Text("/"), start);
  if (slash == -1) return TextMid(url, start, TextLength(url));
  return TextMid(url, start, slash - start);
}

}  // namespace

Text HostFromUrl(const Text& url) {
  Text authority = Authority(url);
  int32_t colon = FindText(authority, Text(":"));
  Text host = colon == -1 ? authority : TextLeft(authority, colon - 1);
  // Only A–Z are lowered; a two-byte character is stepped over whole, so its second byte
  // stays as it is even when it falls in A–Z.
  return ToLower(host);
}

int32_t PortFromUrl(const Text& url) {
  Text authority = Authority(url);
  int32_t colon = FindText(authority, Text(":"));
  if (colon == -1) return net::SchemeOfUrl(url) == net::UrlScheme::kHttps ? 443 : 80;
  double number = TextToNumber(TextMid(authority, colon + 1, TextLength(authority)));
  // Cut towards zero; values no integer can hold are clamped rather than left undefined.
  if (std::isnan(number)) return 0;
  if (number >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (number <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(number);
}

Text PathFromUrl(const Text& url) {
  int32_t slash = FindText(url, Text("/"), HostPosition(url));
  if (slash == -1) return Text("/");
  return TextMid(url, slash, TextLength(url));
}

}  // namespace quorvane
