// The CDATA pass: sections are cut out before the split at "<", because their content may hold
// "<" and ">", and put back when a tag's text is read.
#include <string>

#include "text/services.h"
#include "text/text_ops.h"
#include "xml/xml_document.h"

namespace quorvane {
namespace {

constexpr std::string_view kOpener = "<![CDATA[";
constexpr std::string_view kCloser = "]]>";
constexpr int kMarkerAttempts = 100;

}  // namespace

Bytes XmlDocument::MakeCdataMarker(const Bytes& data, int32_t length) {
  SeedRandom();
  const size_t letters = length > 0 ? static_cast<size_t>(length) : 0;
  const std::string_view haystack = data.view();
  std::string marker(letters + 1, '@');
  for (int attempt = 0; attempt < kMarkerAttempts; ++attempt) {
    for (size_t i = 1; i <= letters; ++i) marker[i] = static_cast<char>('A' + RandomInRange(0, 25));
    // One scan of the data per attempt; a network page cannot make this quadratic.
    if (haystack.find(marker) == std::string_view::npos) return Bytes(std::move(marker));
  }
  return Bytes();
}

int32_t XmlDocument::ExtractCdata(Bytes& data) {
  const Bytes marker = MakeCdataMarker(data);
  const std::string_view in = data.view();

  // The rewritten data is built in one pass. Searching on after the section's "]]>" finds the
  // same openers as searching the rewritten data after the placeholder's first byte would,
  // since a placeholder holds no "<".
  std::string out;
  size_t copied = 0;
  int32_t k = 1;
  for (size_t a = in.find(kOpener); a != std::string_view::npos; a = in.find(kOpener, copied)) {
    const size_t b = in.find(kCloser, a + 1);
    // An opener that is never closed stays in the data as written; every later opener would
    // lack its "]]>" as well, so the extraction ends here.
    if (b == std::string_view::npos) break;
    if (out.empty()) out.reserve(in.size());
    out.append(in.substr(copied, a - copied));
    cdataSections.Append(Bytes(in.substr(a + kOpener.size(), b - a - kOpener.size())));
    out.append(marker.view());
    out.push_back(',');
    out.append(std::to_string(k));
    out.push_back('.');
    copied = b + kCloser.size();
    ++k;
  }
  if (k > 1) {
    out.append(in.substr(copied));
    data = Bytes(std::move(out));
  }
  cdataMarker = marker;
  return k - 1;
}

Text XmlDocument::RestoreCdataView(std::string_view value) const {
  if (cdataMarker.empty()) return Text(value);
  const size_t a = value.find(cdataMarker.view());
  if (a == std::string_view::npos) return Text(value);
  const size_t b = value.find('.', a);
  // The digits start right after the marker and its comma.
  const size_t digitsAt = a + cdataMarker.size() + 1;
  if (b == std::string_view::npos || b <= digitsAt) return Text(value);
  const int32_t k = TextToInteger(Text(value.substr(digitsAt, b - digitsAt)));
  if (k < 1 || k > cdataSections.Count()) return Text(value);
  return Text(cdataSections[k].view());
}

Text XmlDocument::RestoreCdata(const Bytes& value) const { return RestoreCdataView(value.view()); }

}  // namespace quorvane
