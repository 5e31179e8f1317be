// What of a caller's address may reach the wire. The AV number the user types ends up in an
// address, so these checks are what keeps user input from shaping the request line or headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::net {

// True for 0x00–0x1F and 0x7F.
bool IsControlByte(unsigned char byte);

// A path with query as it goes on the request line: spaces, "#" and bytes 0x80–0xFF become %XX,
// everything else stays (an existing %XX is not encoded twice). Nothing when the path holds a
// control byte.
std::optional<std::string> WirePath(std::string_view path);

// True when the host can go into a URL and the Host header as it is: ASCII letters, digits,
// ".", "-" and "_", not empty.
bool IsPlainHost(std::string_view host);

// An absolute address as it goes to libcurl: the fragment cut at the first "#", the path and
// query made wire-safe as by WirePath. Nothing for an address without an http or https scheme
// (letter case ignored), with an empty host part, a control byte anywhere, or a space or a byte
// 0x80–0xFF before the path.
std::optional<std::string> WireAddress(std::string_view address);

// True when a request to `from` (a WireAddress) would be followed to `to` over clear text
// although it went over a secure connection.
bool IsDowngrade(std::string_view from, std::string_view to);

}  // namespace quorvane::net
