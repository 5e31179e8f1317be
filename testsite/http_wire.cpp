#include "testsite/http_wire.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace quorvane::testsite {
namespace {

constexpr size_t kMaxHead = 64 * 1024;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

// Bytes already read past the head stay in `buffer`; this pulls more as the body needs them.
class BodyReader {
 public:
  BodyReader(SocketStream& stream, std::string buffer)
      : stream_(stream), buffer_(std::move(buffer)) {}

  bool Need(size_t count) {
    while (buffer_.size() - position_ < count) {
      char chunk[16384];
      size_t got = stream_.Read(chunk, sizeof chunk);
      if (got == 0) return false;
      buffer_.append(chunk, got);
    }
    return true;
  }
  std::string Take(size_t count) {
    std::string taken = buffer_.substr(position_, count);
    position_ += count;
    return taken;
  }
  // A line without its CR LF; nothing when the stream ends first.
  std::optional<std::string> Line() {
    for (;;) {
      size_t end = buffer_.find("\r\n", position_);
      if (end != std::string::npos) {
        std::string line = buffer_.substr(position_, end - position_);
        position_ = end + 2;
        return line;
      }
      if (buffer_.size() - position_ > kMaxHead || !Need(buffer_.size() - position_ + 1)) {
        return std::nullopt;
      }
    }
  }

 private:
  SocketStream& stream_;
  std::string buffer_;
  size_t position_ = 0;
};

bool ReadChunkedBody(BodyReader& reader, std::string& body) {
  for (;;) {
    auto sizeLine = reader.Line();
    if (!sizeLine) return false;
    size_t size = 0;
    try {
      size = std::stoul(*sizeLine, nullptr, 16);
    } catch (...) {
      return false;
    }
    if (size == 0) {
      // Trailers up to the empty line.
      for (;;) {
        auto trailer = reader.Line();
        if (!trailer) return false;
        if (trailer->empty()) return true;
      }
    }
    if (!reader.Need(size + 2)) return false;
    body += reader.Take(size);
    reader.Take(2);
  }
}

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 204:
      return "No Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 307:
      return "Temporary Redirect";
    case 308:
      return "Permanent Redirect";
    case 400:
      return "Bad Request";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

char HexDigit(unsigned value) { return "0123456789ABCDEF"[value & 15]; }

std::string ChunkHeader(size_t size) {
  std::string digits;
  do {
    digits.insert(digits.begin(), HexDigit(static_cast<unsigned>(size)));
    size >>= 4;
  } while (size != 0);
  return digits + "\r\n";
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<RecordedRequest> ReadRequest(SocketStream& stream, bool secure) {
  std::string head;
  size_t headEnd = std::string::npos;
  while ((headEnd = head.find("\r\n\r\n")) == std::string::npos) {
    if (head.size() > kMaxHead) return std::nullopt;
    char chunk[4096];
    size_t got = stream.Read(chunk, sizeof chunk);
    if (got == 0) return std::nullopt;
    head.append(chunk, got);
  }
  std::string rest = head.substr(headEnd + 4);
  head.resize(headEnd + 2);

  RecordedRequest request;
  request.secure = secure;
  size_t lineEnd = head.find("\r\n");
  std::string_view requestLine(head.data(), lineEnd);
  size_t firstSpace = requestLine.find(' ');
  size_t lastSpace = requestLine.rfind(' ');
  if (firstSpace == std::string_view::npos || lastSpace == firstSpace) return std::nullopt;
  request.method = std::string(requestLine.substr(0, firstSpace));
  request.target = std::string(requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1));
  request.version = std::string(requestLine.substr(lastSpace + 1));
  size_t question = request.target.find('?');
  request.path = request.target.substr(0, question);
  if (question != std::string::npos) request.query = request.target.substr(question + 1);

  for (size_t start = lineEnd + 2; start < head.size();) {
    size_t end = head.find("\r\n", start);
    std::string_view line(head.data() + start, end - start);
    start = end + 2;
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
      request.headers.emplace_back(std::string(Trim(line)), std::string());
    } else {
      request.headers.emplace_back(std::string(Trim(line.substr(0, colon))),
                                   std::string(Trim(line.substr(colon + 1))));
    }
  }

  BodyReader reader(stream, std::move(rest));
  std::string encoding = request.Header("Transfer-Encoding");
  if (EqualsNoCase(Trim(encoding), "chunked")) {
    if (!ReadChunkedBody(reader, request.body)) return std::nullopt;
  } else if (auto lengths = request.HeaderValues("Content-Length"); !lengths.empty()) {
    // Two differing lengths are what a confused client sends; the first one counts here, and
    // the test that provoked it can see both in the record.
    size_t length = 0;
    try {
      length = std::stoul(lengths.front());
    } catch (...) {
      return std::nullopt;
    }
    if (length > (size_t{1} << 30) || !reader.Need(length)) return std::nullopt;
    request.body = reader.Take(length);
  }
  return request;
}

void WriteResponse(SocketStream& stream, const Response& response, bool headRequest,
                   const PauseFunction& pause) {
  bool ownLength = false;
  bool chunked = false;
  for (const auto& [name, value] : response.headers) {
    if (EqualsNoCase(name, "Content-Length")) ownLength = true;
    if (EqualsNoCase(name, "Transfer-Encoding")) {
      ownLength = true;
      chunked = EqualsNoCase(Trim(value), "chunked");
    }
  }

  std::string head =
      "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) + "\r\n";
  if (!response.contentType.empty()) head += "Content-Type: " + response.contentType + "\r\n";
  if (!ownLength) head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  for (const auto& [name, value] : response.headers)
    head += name + ": " + value + "\r\n";
  head += "Connection: close\r\n\r\n";
  if (!stream.WriteAll(head) || headRequest) return;

  std::string_view body = response.body;
  size_t piece = response.pieceSize;
  if (piece == 0) piece = chunked ? 16384 : std::max<size_t>(body.size(), 1);
  while (!body.empty()) {
    if (response.pauseBeforePiece.count() > 0 && !pause(response.pauseBeforePiece)) return;
    std::string_view part = body.substr(0, piece);
    body.remove_prefix(part.size());
    bool written = chunked ? stream.WriteAll(ChunkHeader(part.size())) && stream.WriteAll(part) &&
                                 stream.WriteAll("\r\n")
                           : stream.WriteAll(part);
    if (!written) return;
  }
  if (chunked) stream.WriteAll("0\r\n\r\n");
}

}  // namespace quorvane::testsite
