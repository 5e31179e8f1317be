#include "net/wire_safety.h"

#include "text/ascii_case.h"

namespace quorvane::net {

bool IsControlByte(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

std::optional<std::string> WirePath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string wire;
  wire.reserve(path.size());
  for (char c : path) {
    auto byte = static_cast<unsigned char>(c);
    if (IsControlByte(byte)) return std::nullopt;
    // A raw "#" would start a fragment, which never reaches the server.
    if (byte == ' ' || byte == '#' || byte >= 0x80) {
      wire += '%';
      wire += kHex[byte >> 4];
      wire += kHex[byte & 15];
    } else {
      wire += c;
    }
  }
  return wire;
}

bool IsPlainHost(std::string_view host) {
  if (host.empty()) return false;
  for (char c : host) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '.' || c == '-' || c == '_';
    if (!plain) return false;
  }
  return true;
}

std::optional<std::string> WireAddress(std::string_view address) {
  address = address.substr(0, address.find('#'));
  size_t schemeEnd = address.find("://");
  if (schemeEnd == std::string_view::npos) return std::nullopt;
  const std::string scheme = LowerAscii(address.substr(0, schemeEnd));
  if (scheme != "http" && scheme != "https") return std::nullopt;

  size_t authorityStart = schemeEnd + 3;
  size_t pathStart = address.find_first_of("/?", authorityStart);
  std::string_view authority = address.substr(authorityStart, pathStart - authorityStart);
  if (authority.empty()) return std::nullopt;
  for (char c : authority) {
    auto byte = static_cast<unsigned char>(c);
    if (IsControlByte(byte) || byte == ' ' || byte >= 0x80) return std::nullopt;
  }
  std::string wire = scheme + "://" + std::string(authority);
  if (pathStart != std::string_view::npos) {
    std::optional<std::string> path = WirePath(address.substr(pathStart));
    if (!path) return std::nullopt;
    wire += *path;
  }
  return wire;
}

bool IsDowngrade(std::string_view from, std::string_view to) {
  // WireAddress writes the scheme in lower case.
  return from.substr(0, 8) == "https://" && to.substr(0, 8) != "https://";
}

}  // namespace quorvane::net
