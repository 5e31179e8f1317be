// Arbitrary addresses through the splitting routines and the checks that decide what may go on
// the wire. Whatever would be handed to libcurl holds no control byte, no space and no byte
// 0x80-0xFF, and its host is plain. The splitting never cuts at a "/" that is
// the second byte of a two-byte character.
//
// Input: the address (zero bytes included, as a caller's string_view may hold them).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "net/url_split.h"
#include "net/wire_safety.h"

namespace {

using quorvane::Text;
namespace net = quorvane::net;

void Expect(bool condition) {
  if (!condition) std::abort();
}

bool IsWireSafe(std::string_view s) {
  for (char c : s) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || byte == ' ' || byte >= 0x80) return false;
  }
  return true;
}

bool IsFreeOfControlBytes(std::string_view s) {
  for (char c : s) {
    if (net::IsControlByte(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

size_t NaiveSchemeLength(std::string_view url) {
  auto startsNoCase = [&](std::string_view prefix) {
    if (url.size() < prefix.size()) return false;
    for (size_t k = 0; k < prefix.size(); ++k) {
      char c = url[k];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != prefix[k]) return false;
    }
    return true;
  };
  if (startsNoCase("http://")) return 7;
  if (startsNoCase("https://")) return 8;
  return 0;
}

// Byte index of the first "/" at or after `from` that a character walk from `from` steps on.
size_t NaiveSlash(std::string_view url, size_t from) {
  for (size_t at = from; at < url.size();
       at += static_cast<unsigned char>(url[at]) >= 0x80 ? 2 : 1) {
    if (url[at] == '/') return at;
  }
  return std::string_view::npos;
}

void CheckSplitting(const Text& url) {
  const std::string_view u = url.view();
  const size_t hostStart = NaiveSchemeLength(u);
  const size_t slash = NaiveSlash(u, hostStart);

  const Text path = quorvane::PathFromUrl(url);
  Expect(path.view() == (slash == std::string_view::npos ? "/" : u.substr(slash)));

  std::string_view authority =
      u.substr(hostStart, slash == std::string_view::npos ? u.npos : slash - hostStart);
  // The colon search walks by character too: a ":" that is a second byte does not count.
  size_t colon = std::string_view::npos;
  for (size_t at = 0; at < authority.size();
       at += static_cast<unsigned char>(authority[at]) >= 0x80 ? 2 : 1) {
    if (authority[at] == ':') {
      colon = at;
      break;
    }
  }
  // Lowered by character as well: the second byte of a two-byte character stays as it is.
  std::string host(authority.substr(0, colon));
  for (size_t at = 0; at < host.size();
       at += static_cast<unsigned char>(host[at]) >= 0x80 ? 2 : 1) {
    if (host[at] >= 'A' && host[at] <= 'Z') host[at] = static_cast<char>(host[at] - 'A' + 'a');
  }
  Expect(quorvane::HostFromUrl(url).view() == host);

  // What WebRequest builds its first request from, when it lets the address through at all.
  const int32_t port = quorvane::PortFromUrl(url);
  const std::optional<std::string> wirePath = net::WirePath(path.view());
  if (!net::IsPlainHost(host) || port < 0 || port > 65535 || !wirePath) return;
  Expect(host.find_first_of(":/@[]?#%") == std::string::npos);
  Expect(IsWireSafe(*wirePath) && !wirePath->empty() && (*wirePath)[0] == '/');
}

void CheckWireAddress(std::string_view address) {
  const std::optional<std::string> wire = net::WireAddress(address);
  if (!wire) return;
  Expect(IsWireSafe(*wire));
  const std::string_view w = *wire;
  Expect(w.substr(0, 7) == "http://" || w.substr(0, 8) == "https://");
  const size_t authorityStart = w.find("://") + 3;
  const size_t pathStart = w.find_first_of("/?", authorityStart);
  Expect(pathStart != authorityStart && authorityStart < w.size());
  // The host libcurl is handed is a plain name with at most a numeric port.
  const std::string_view authority = w.substr(authorityStart, pathStart - authorityStart);
  const std::string_view host = authority.substr(0, authority.find(':'));
  Expect(net::IsPlainHost(host) && host.find_first_of(":/@[]?#%\\") == std::string_view::npos);
  // Nothing of a control byte before the fragment survives: such an address is refused.
  Expect(IsFreeOfControlBytes(address.substr(0, address.find('#'))));
}

void CheckWirePath(std::string_view path) {
  const std::optional<std::string> wire = net::WirePath(path);
  if (!wire) {
    Expect(!IsFreeOfControlBytes(path));
    return;
  }
  Expect(IsWireSafe(*wire));
  size_t encoded = 0;
  for (char c : path)
    encoded += (c == ' ' || c == '#' || static_cast<unsigned char>(c) >= 0x80) ? 1 : 0;
  Expect(wire->size() == path.size() + 2 * encoded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckWireAddress(input);
  CheckWirePath(input);
  CheckSplitting(Text(input));
  return 0;
}
