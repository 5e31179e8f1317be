#include "net/wire_safety.h"

#include <cstdint>

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

namespace {

// A plain host with an optional port of one to five digits up to 65535. User names, bracketed
// IPv6 literals, percent escapes and backslashes are refused: each is a place where libcurl
// and a reader of the address could disagree about which host is meant.
bool IsPlainAuthority(std::string_view authority) {
  const size_t colon = authority.find(':');
  if (!IsPlainHost(authority.substr(0, colon))) return false;
  if (colon == std::string_view::npos) return true;
  const std::string_view port = authority.substr(colon + 1);
  if (port.empty() || port.size() > 5) return false;
  uint32_t value = 0;
  for (char c : port) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  return value <= 65535;
}

}  // namespace

std::optional<std::string> WireAddress(std::string_view address) {
  address = address.substr(0, address.find('#'));
  size_t schemeEnd = address.find("://");
  if (schemeEnd == std::string_view::npos) return std::nullopt;
  const std::string scheme = LowerAscii(address.substr(0, schemeEnd));
  if (scheme != "http" && scheme != "https") return std::nullopt;

  size_t authorityStart = schemeEnd + 3;
  size_t pathStart = address.find_first_of("/?", authorityStart);
  std::string_view authority = address.substr(authorityStart, pathStart - authorityStart);
  if (!IsPlainAuthority(authority)) return std::nullopt;
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
