// Numbers read from and written to texts, and single byte codes.
#include <locale.h>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <limits>

#include "text/ascii_case.h"
#include "text/char_walk.h"
#include "text/text_ops.h"

namespace quorvane {
namespace {

// Users type digits in the input method's full-width form as often as in ASCII, so these
// two-byte characters are read as their one-byte counterparts before any number is parsed.
std::string NarrowFullWidthForms(std::string_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (size_t at = 0; at < text.size(); at = text_detail::NextCharStart(text, at)) {
    if (!text_detail::IsLeadByte(text[at]) || at + 1 >= text.size()) {
      narrow.push_back(text[at]);
      continue;
    }
    const auto lead = static_cast<unsigned char>(text[at]);
    const auto trail = static_cast<unsigned char>(text[at + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      narrow.push_back(static_cast<char>(trail - 0x80));
    } else if (lead == 0xA1 && trail == 0xA1) {
      narrow.push_back(' ');
    } else if (lead == 0xA1 && trail == 0xAB) {
      narrow.push_back('~');
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      narrow.push_back('*');
    } else {
      narrow.append(text.substr(at, 2));
    }
  }
  return narrow;
}

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipWhiteSpace(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && IsWhiteSpace(text[at]))
    ++at;
  return at;
}

// Length of the longest prefix of `text` that reads as a decimal real number, or 0.
size_t NumberPrefixLength(std::string_view text) {
  size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  size_t digits = 0;
  while (at < text.size() && IsDigit(text[at]))
    ++at, ++digits;
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && IsDigit(text[at]))
      ++at, ++digits;
  }
  if (digits == 0) return 0;
  // The exponent only belongs to the number when at least one digit follows it.
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (exponent < text.size() && IsDigit(text[exponent])) {
      while (exponent < text.size() && IsDigit(text[exponent]))
        ++exponent;
      at = exponent;
    }
  }
  return at;
}

// The window toolkit switches the process to the user's locale, whose decimal separator may
// be a comma; numbers in this program always use a point.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

}  // namespace

double TextToNumber(const Text& text) {
  const std::string narrow = NarrowFullWidthForms(text.view());
  const std::string_view rest = std::string_view(narrow).substr(SkipWhiteSpace(narrow));
  const size_t length = NumberPrefixLength(rest);
  if (length == 0) return 0;
  const std::string prefix(rest.substr(0, length));
  return strtod_l(prefix.c_str(), nullptr, CLocale());
}

int32_t TextToInteger(const Text& text) {
  const std::string narrow = NarrowFullWidthForms(text.view());
  size_t at = SkipWhiteSpace(narrow);
  bool negative = false;
  if (at < narrow.size() && (narrow[at] == '+' || narrow[at] == '-'))
    negative = narrow[at++] == '-';
  // Digits beyond the 32-bit range saturate; the magnitude is capped before it can overflow.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; at < narrow.size() && IsDigit(narrow[at]); ++at) {
    magnitude = std::min(magnitude * 10 + (narrow[at] - '0'), kLimit);
  }
  const int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
  return static_cast<int32_t>(value);
}

Text IntegerToText(int32_t value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return Text(std::string_view(digits, static_cast<size_t>(end - digits)));
}

Text IntegerToHex(int32_t value) {
  char digits[16];
  const auto end =
      std::to_chars(digits, digits + sizeof digits, static_cast<uint32_t>(value), 16).ptr;
  for (char* c = digits; c != end; ++c)
    *c = UpperAscii(*c);
  return Text(std::string_view(digits, static_cast<size_t>(end - digits)));
}

int32_t ByteCodeAt(const Text& text, int32_t position) {
  if (position < 1 || position > text.Length()) return 0;
  return static_cast<int32_t>(static_cast<signed char>(text.ByteAt(position)));
}

Text CharFromCode(int32_t code) {
  const char byte = static_cast<char>(static_cast<unsigned char>(code & 0xFF));
  return Text(std::string_view(&byte, 1));
}

Text BlankText(int32_t n) {
  if (n < 1) return {};
  return Text(std::string(static_cast<size_t>(n), ' '));
}

}  // namespace quorvane
