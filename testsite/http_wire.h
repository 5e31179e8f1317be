// Reading one HTTP request off a stream and writing one answer back, the way the stand-in site
// speaks: every answer closes the connection.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string_view>

#include "testsite/socket_stream.h"
#include "testsite/stand_in_site.h"

namespace quorvane::testsite {

// Header names compare without regard to letter case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// The request with its line, headers in arrival order and body (by Content-Length or chunked).
// Nothing when the stream ends or breaks first, or the head exceeds 64 KiB.
std::optional<RecordedRequest> ReadRequest(SocketStream& stream, bool secure);

// Waits the given time; false when the site is shutting down and the answer should stop.
using PauseFunction = std::function<bool(std::chrono::milliseconds)>;

// Writes status line, headers and body (none for HEAD). Content-Length is added unless the
// answer brings its own Content-Length or Transfer-Encoding; with "Transfer-Encoding: chunked"
// the body is sent chunk-encoded. pieceSize/pauseBeforePiece slow the body down.
void WriteResponse(SocketStream& stream, const Response& response, bool headRequest,
                   const PauseFunction& pause);

}  // namespace quorvane::testsite
