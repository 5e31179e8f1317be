// The character-walking text operations and the marker extraction on arbitrary bytes, each
// compared with a deliberately naive version written here as a plain loop over characters.
// Also: a search that walks from the start never reports a match on a second byte.
//
// Input: one byte of options (bit 0: ignore case), one byte for the start position (signed),
// then up to three texts separated by zero bytes: the text, the sought text (also the left
// marker and the separator) and the replacement (also the right marker).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "query/text_extraction.h"
#include "text/text_ops.h"

namespace {

using quorvane::Text;

bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `sought` lies wholly in `text` at byte index `at`.
bool MatchesAt(std::string_view text, std::string_view sought, size_t at, bool ignoreCase) {
  if (text.size() - at < sought.size()) return false;
  for (size_t i = 0; i < sought.size(); ++i) {
    char a = text[at + i];
    char b = sought[i];
    if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

// Length of the character at `at`: two for a lead byte unless the text ends after it.
size_t CharLength(std::string_view text, size_t at) {
  return IsLead(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// Byte indexes of the character starts of a walk from the first byte.
std::vector<bool> CharStarts(std::string_view text) {
  std::vector<bool> starts(text.size() + 1, false);
  for (size_t at = 0; at < text.size(); at += CharLength(text, at))
    starts[at] = true;
  return starts;
}

// True when no two-byte character of `s` lacks its second byte.
bool IsWholeCharacters(std::string_view s) {
  size_t at = 0;
  while (at < s.size())
    at += IsLead(s[at]) ? 2 : 1;
  return at == s.size();
}

int32_t NaiveFind(std::string_view text, std::string_view sought, int32_t start, bool ic) {
  if (sought.empty()) return -1;
  size_t at = start <= 1 ? 0 : static_cast<size_t>(start - 1);
  for (; at < text.size(); at += CharLength(text, at)) {
    if (MatchesAt(text, sought, at, ic)) return static_cast<int32_t>(at + 1);
  }
  return -1;
}

int32_t NaiveFindBackward(std::string_view text, std::string_view sought, bool ic) {
  if (sought.empty()) return -1;
  int32_t last = -1;
  for (size_t at = 0; at < text.size(); at += CharLength(text, at)) {
    if (MatchesAt(text, sought, at, ic)) last = static_cast<int32_t>(at + 1);
  }
  return last;
}

std::string NaiveReplaceAll(std::string_view text, std::string_view sought,
                            std::string_view replacement) {
  if (sought.empty()) return std::string(text);
  std::string out;
  for (size_t at = 0; at < text.size();) {
    if (MatchesAt(text, sought, at, false)) {
      out += replacement;
      at += sought.size();
    } else {
      out += text.substr(at, CharLength(text, at));
      at += CharLength(text, at);
    }
  }
  return out;
}

std::vector<std::string> NaiveSplit(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) return {std::string(text)};
  std::string piece;
  for (size_t at = 0; at < text.size();) {
    if (MatchesAt(text, separator, at, false)) {
      pieces.push_back(piece);
      piece.clear();
      at += separator.size();
    } else {
      piece += text.substr(at, CharLength(text, at));
      at += CharLength(text, at);
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

std::string NaiveChangeCase(std::string_view text, bool upper) {
  std::string out(text);
  for (size_t at = 0; at < out.size(); at += CharLength(out, at)) {
    char c = out[at];
    if (upper && c >= 'a' && c <= 'z') out[at] = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') out[at] = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string NaiveTrim(std::string_view text) {
  auto isSpace = [&](size_t at) {
    return text[at] == ' ' ||
           (CharLength(text, at) == 2 && text[at] == '\xA1' && text[at + 1] == '\xA1');
  };
  size_t begin = 0;
  while (begin < text.size() && isSpace(begin))
    begin += CharLength(text, begin);
  size_t end = begin;
  for (size_t at = begin; at < text.size(); at += CharLength(text, at)) {
    if (!isSpace(at)) end = at + CharLength(text, at);
  }
  return std::string(text.substr(begin, end - begin));
}

std::string NaiveBetween(std::string_view source, std::string_view leftMarker,
                         std::string_view rightMarker, int32_t start, bool ic) {
  const std::string quoteName = quorvane::Local("#引号").str();
  const std::string left = NaiveReplaceAll(leftMarker, quoteName, "\"");
  const std::string right = NaiveReplaceAll(rightMarker, quoteName, "\"");
  int32_t leftAt = NaiveFind(source, left, start, ic);
  if (leftAt == -1) return {};
  const int32_t afterLeft = leftAt + static_cast<int32_t>(left.size());
  const int32_t rightAt = NaiveFind(source, right, afterLeft, ic);
  if (rightAt == -1) return {};
  // A walk from afterLeft starts on a character boundary whenever the left marker is made of
  // whole characters; then the right marker must not be found on a second byte either.
  if (IsWholeCharacters(left)) {
    if (CharStarts(source)[static_cast<size_t>(leftAt - 1)] &&
        !CharStarts(source)[static_cast<size_t>(rightAt - 1)]) {
      std::abort();
    }
  }
  return std::string(
      source.substr(static_cast<size_t>(afterLeft - 1), static_cast<size_t>(rightAt - afterLeft)));
}

std::string NaiveAfterLast(std::string_view source, std::string_view marker, bool ic) {
  int32_t at = NaiveFindBackward(source, marker, ic);
  if (at == -1) return {};
  return std::string(source.substr(static_cast<size_t>(at - 1) + marker.size()));
}

void Expect(bool condition) {
  if (!condition) std::abort();
}

// A position a walk from the first byte reports must be the start of a character.
void ExpectOnCharStart(std::string_view text, int32_t position) {
  if (position != -1) Expect(CharStarts(text)[static_cast<size_t>(position - 1)]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const bool ic = data[0] & 1;
  const int32_t start = static_cast<int8_t>(data[1]);
  std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string_view parts[3];
  for (std::string_view& part : parts) {
    const size_t zero = rest.find('\0');
    part = rest.substr(0, zero);
    rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
  }
  const Text text(parts[0]);
  const Text sought(parts[1]);
  const Text other(parts[2]);
  const std::string_view t = text.view();
  const std::string_view s = sought.view();

  const int32_t first = quorvane::FindText(text, sought, 0, ic);
  Expect(first == NaiveFind(t, s, 0, ic));
  ExpectOnCharStart(t, first);
  Expect(quorvane::FindText(text, sought, start, ic) == NaiveFind(t, s, start, ic));
  const int32_t last = quorvane::FindTextBackward(text, sought, ic);
  Expect(last == NaiveFindBackward(t, s, ic));
  ExpectOnCharStart(t, last);

  Expect(quorvane::ReplaceAllText(text, sought, other).view() ==
         NaiveReplaceAll(t, s, other.view()));
  const quorvane::Array<Text> pieces = quorvane::SplitText(text, sought);
  const std::vector<std::string> naivePieces = NaiveSplit(t, s);
  Expect(static_cast<size_t>(pieces.Count()) == naivePieces.size());
  for (int32_t k = 1; k <= pieces.Count(); ++k)
    Expect(pieces[k].view() == naivePieces[static_cast<size_t>(k - 1)]);

  Expect(quorvane::ToUpper(text).view() == NaiveChangeCase(t, true));
  Expect(quorvane::ToLower(text).view() == NaiveChangeCase(t, false));
  Expect(quorvane::TrimSpaces(text).view() == NaiveTrim(t));

  Expect(quorvane::TextBetween(text, sought, other, start, ic).view() ==
         NaiveBetween(t, s, other.view(), start, ic));
  Expect(quorvane::TextBetween(text, sought, other).view() ==
         NaiveBetween(t, s, other.view(), 0, false));
  Expect(quorvane::TextAfterLast(text, sought, ic).view() == NaiveAfterLast(t, s, ic));
  return 0;
}
