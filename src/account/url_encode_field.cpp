// Percent-encoding of the login form's account and password fields.
#include "account/account.h"

#include <array>

namespace quorvane {
namespace {

// The bytes the site takes literally in a form field. Everything else, including the space and
// both bytes of every code-page-936 character, is escaped.
bool IsKeptAsItIs(unsigned char byte) {
  return byte == '*' || (byte >= ',' && byte <= '/') || (byte >= '0' && byte <= '9') ||
         byte == '@' || (byte >= 'A' && byte <= 'Z') || byte == '_' || (byte >= 'a' && byte <= 'z');
}

}  // namespace

Text UrlEncodeField(const Text& value) {
  static constexpr std::array<char, 16> kHexDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                      '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  std::string encoded;
  encoded.reserve(value.view().size());
  for (char raw : value.view()) {
    const auto byte = static_cast<unsigned char>(raw);
    if (IsKeptAsItIs(byte)) {
      encoded.push_back(raw);
      continue;
    }
    // Always two digits, so a byte below 16 reads as %0X.
    encoded.push_back('%');
    encoded.push_back(kHexDigits[byte >> 4]);
    encoded.push_back(kHexDigits[byte & 0x0F]);
  }
  return Text(std::move(encoded));
}

}  // namespace quorvane
