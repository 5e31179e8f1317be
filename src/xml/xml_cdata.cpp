// The CDATA pass: sections are cut out before the split at "<", because their content may hold
// "<" and ">", and put back when a tag's text is read.
#include <cstring>
#include <string>

#include "text/services.h"
#include "text/text_ops.h"
#include "xml/xml_document.h"

namespace quorvane {
namespace {

constexpr std::string_view kOpener = "<![CDATA[";
constexpr std::string_view kCloser = "]]>";
constexpr int kMarkerAttempts = 100;

// First occurrence of needle at or after from. memchr looks for needle[pivot], a byte that is
// rare in pages (the "[" of an opener, the "]" of a closer, the "@" of a marker), so the search
// does not stop at every "<" of the page; candidates are checked in order, so the first match
// found is the first occurrence.
size_t FindSequence(std::string_view haystack, std::string_view needle, size_t from,
                    size_t pivot = 0) {
  const size_t n = haystack.size();
  const size_t m = needle.size();
  if (m == 0 || from > n || n - from < m) return std::string_view::npos;
  const char* base = haystack.data();
  for (size_t q = from + pivot; q + (m - pivot) <= n;) {
    const void* hit = memchr(base + q, needle[pivot], n - (m - pivot) + 1 - q);
    if (hit == nullptr) break;
    q = static_cast<size_t>(static_cast<const char*>(hit) - base);
    if (memcmp(base + q - pivot, needle.data(), m) == 0) return q - pivot;
    ++q;
  }
  return std::string_view::npos;
}

// Without an "@" in the data no marker can occur in it, and the first one drawn is taken.
Bytes MarkerAbsentFrom(std::string_view data, int32_t length, bool mayHoldAt = true) {
  SeedRandom();
  const size_t letters = length > 0 ? static_cast<size_t>(length) : 0;
  std::string marker(letters + 1, '@');
  for (int attempt = 0; attempt < kMarkerAttempts; ++attempt) {
    for (size_t i = 1; i <= letters; ++i) {
      marker[i] = static_cast<char>('A' + RandomInRange(0, 25));
    }
    // One scan of the data per attempt, however the page is made.
    if (!mayHoldAt || FindSequence(data, marker, 0) == std::string_view::npos) {
      return Bytes(std::move(marker));
    }
  }
  return Bytes();
}

// The integer value of the placeholder's digits. ExtractCdata wrote them, so they are plain
// decimal and short; anything else goes through the general reading.
int32_t DecimalValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 9) return TextToInteger(Text(digits));
  int32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return TextToInteger(Text(digits));
    value = value * 10 + (c - '0');
  }
  return value;
}

// k in decimal, written straight into the placeholder rather than through a temporary string.
void AppendDecimal(std::string& out, int32_t k) {
  char digits[12];
  char* end = digits + sizeof digits;
  char* p = end;
  uint32_t rest = static_cast<uint32_t>(k);
  do {
    *--p = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  out.append(p, static_cast<size_t>(end - p));
}

}  // namespace

Bytes XmlDocument::MakeCdataMarker(const Bytes& data, int32_t length) {
  return MarkerAbsentFrom(data.view(), length);
}

int32_t XmlDocument::ExtractCdataInto(std::string_view in, bool mayHoldAt, std::string& out) {
  const Bytes marker = MarkerAbsentFrom(in, 5, mayHoldAt);
  // The rewritten data is built in one pass. Searching on after the section's "]]>" finds the
  // same openers as searching the rewritten data after the placeholder's first byte would,
  // since a placeholder holds no "<".
  size_t copied = 0;
  int32_t k = 1;
  // Replaces in[a, resume) by the placeholder of section k, holding content.
  auto cut = [&](size_t a, std::string_view content, size_t resume) {
    if (k == 1) {
      out.clear();
      out.reserve(in.size() + marker.size() + 3);
    }
    out.append(in.substr(copied, a - copied));
    cdataSections.Append(Bytes(content));
    out.append(marker.view());
    out.push_back(',');
    AppendDecimal(out, k);
    out.push_back('.');
    copied = resume;
    ++k;
  };
  for (size_t a = FindSequence(in, kOpener, 0, 2); a != std::string_view::npos;
       a = FindSequence(in, kOpener, copied, 2)) {
    const size_t b = FindSequence(in, kCloser, a + 1);
    if (b == std::string_view::npos) {
      // An opener that is never closed. At the data's first byte the cut is still defined: an
      // empty section, and only the "<" (b - a + 3 = 1 byte) replaced by its placeholder.
      // Anywhere else that length is not positive and the same opener would be found again
      // for ever, so it stays as written. Either way every later opener lacks its "]]>" too,
      // and the extraction ends here.
      if (a == 0) cut(0, std::string_view(), 1);
      break;
    }
    cut(a, in.substr(a + kOpener.size(), b - a - kOpener.size()), b + kCloser.size());
  }
  if (k > 1) out.append(in.substr(copied));
  cdataMarker = marker;
  return k - 1;
}

int32_t XmlDocument::ExtractCdata(Bytes& data) {
  std::string rewritten;
  const int32_t sections = ExtractCdataInto(data.view(), true, rewritten);
  if (sections > 0) data = Bytes(std::move(rewritten));
  return sections;
}

Text XmlDocument::RestoreCdataView(std::string_view value) const {
  if (cdataMarker.empty()) return Text(value);
  const size_t a = FindSequence(value, cdataMarker.view(), 0);
  if (a == std::string_view::npos) return Text(value);
  const size_t b = value.find('.', a);
  // The digits start right after the marker and its comma.
  const size_t digitsAt = a + cdataMarker.size() + 1;
  if (b == std::string_view::npos || b <= digitsAt) return Text(value);
  const int32_t k = DecimalValue(value.substr(digitsAt, b - digitsAt));
  if (k < 1 || k > cdataSections.Count()) return Text(value);
  return Text(cdataSections[k].view());
}

Text XmlDocument::RestoreCdata(const Bytes& value) const { return RestoreCdataView(value.view()); }

}  // namespace quorvane
