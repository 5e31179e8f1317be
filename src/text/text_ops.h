// Operations on texts and byte buffers. Positions count bytes from 1, searches answer -1 when
// they find nothing, and cutting operations clamp instead of failing. "By character" operations
// step over two-byte characters (a lead byte 0x80–0xFF and the byte after it) as units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "text/text.h"

namespace quorvane {

// ---- Texts -------------------------------------------------------------------------------------

// Length in bytes; 0 for the empty text.
int32_t TextLength(const Text& text);
// First min(n, length) bytes; empty when n <= 0. By byte.
Text TextLeft(const Text& text, int32_t n);
// Last min(n, length) bytes; empty when n <= 0. By byte.
Text TextRight(const Text& text, int32_t n);
// min(n, length - start + 1) bytes from start; empty when start < 1, start > length or n <= 0.
Text TextMid(const Text& text, int32_t start, int32_t n);
// First occurrence at or after start (start <= 0 searches the whole text), or -1; an empty
// sought text is never found. By character.
int32_t FindText(const Text& text, const Text& sought, int32_t start = 0, bool ignoreCase = false);
// Last occurrence, or -1; -1 for an empty sought text. By character.
int32_t FindTextBackward(const Text& text, const Text& sought, bool ignoreCase = false);
// n bytes at start removed and the replacement put in their place. By byte.
Text ReplaceTextRange(const Text& text, int32_t start, int32_t n, const Text& replacement = {});
// Every occurrence replaced left to right, exact comparison. By character.
Text ReplaceAllText(const Text& text, const Text& sought, const Text& replacement);
// Pieces between separators; an empty text gives none, an empty last piece is dropped.
Array<Text> SplitText(const Text& text, const Text& separator);
// ASCII letters raised or lowered; other bytes, and every second byte of a two-byte character,
// stay as they are. By character.
Text ToUpper(const Text& text);
Text ToLower(const Text& text);
// Without leading and trailing spaces (0x20) and ideographic spaces (0xA1 0xA1).
Text TrimSpaces(const Text& text);
// The decimal real number at the start (after white space, full-width forms read as ASCII);
// 0 when there is none, infinity when it overflows a double.
double TextToNumber(const Text& text);
// The decimal integer at the start (after white space, full-width forms read as ASCII); 0 when
// there is none. Beyond the 32-bit range the value saturates at INT32_MIN or INT32_MAX.
int32_t TextToInteger(const Text& text);
// Decimal digits, a minus sign in front of a negative value.
Text IntegerToText(int32_t value);
// Upper-case hex digits without prefix; a negative value shows its two's complement.
Text IntegerToHex(int32_t value);
// Signed byte value at position; 0 outside 1…length.
int32_t ByteCodeAt(const Text& text, int32_t position);
// One-byte text of the low byte of code (callers pass 0–255); the empty text for 0.
Text CharFromCode(int32_t code);
// n spaces; empty when n < 1.
Text BlankText(int32_t n);
// All the texts' bytes in order; empty texts add nothing.
template <typename... Texts>
Text ConcatTexts(const Text& first, const Texts&... rest) {
  std::string bytes(first.view());
  (bytes.append(rest.view()), ...);
  return Text(std::move(bytes));
}
// Same bytes; the empty text equals the missing one.
bool TextEquals(const Text& left, const Text& right);
// Equal with A–Z and a–z taken as the same letter.
bool TextEqualsNoCase(const Text& left, const Text& right);
// The text's bytes; empty for the empty text.
Bytes TextToBytes(const Text& text);
// Bytes up to the first zero byte.
Text BytesToText(const Bytes& bytes);

// ---- Byte buffers ------------------------------------------------------------------------------

// Length; 0 for the empty buffer.
int32_t BytesLength(const Bytes& bytes);
// First or last n bytes, n clamped to 0…length.
Bytes BytesLeft(const Bytes& bytes, int32_t n);
Bytes BytesRight(const Bytes& bytes, int32_t n);
// Unlike TextMid, start is clamped to 1…length + 1.
Bytes BytesMid(const Bytes& bytes, int32_t start, int32_t n);
// First occurrence at or after start (start <= 0 searches all); -1 for an empty pattern.
int32_t FindBytes(const Bytes& bytes, const Bytes& pattern, int32_t start = 0);
// Last occurrence, or -1; -1 for an empty pattern.
int32_t FindBytesBackward(const Bytes& bytes, const Bytes& pattern);
// n bytes at start replaced; start clamped to 1…length + 1, n to what is left after it.
Bytes ReplaceBytesRange(const Bytes& bytes, int32_t start, int32_t n,
                        const Bytes& replacement = {});
// Every occurrence replaced left to right; an empty buffer or pattern gives a copy.
Bytes ReplaceAllBytes(const Bytes& bytes, const Bytes& pattern, const Bytes& replacement = {});
// As SplitText, at every byte position: an empty buffer gives none, an empty last piece is dropped.
Array<Bytes> SplitBytes(const Bytes& bytes, const Bytes& separator);
// n zero bytes; empty when n <= 0.
Bytes ZeroBytes(int32_t n);
// All the buffers' bytes in order; the empty buffer when there are none.
template <typename... Buffers>
Bytes ConcatBytes(const Bytes& first, const Buffers&... rest) {
  std::string bytes(first.view());
  (bytes.append(rest.view()), ...);
  return Bytes(std::move(bytes));
}
// Same length and same bytes.
bool BytesEqual(const Bytes& left, const Bytes& right);

// ---- Literals ----------------------------------------------------------------------------------

// The code-page-936 form of a UTF-8 literal written in the source. Every non-ASCII literal of
// the program goes through this one helper.
Text Local(std::string_view utf8Literal);

}  // namespace quorvane
