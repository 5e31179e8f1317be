#include "net/header_block.h"

#include <string>
#include <string_view>

#include "net/wire_safety.h"
#include "text/ascii_case.h"
#include "text/text_ops.h"

namespace quorvane::net {
namespace {

bool Mentions(const Text& block, const char* name) {
  return FindText(block, Text(name), 1, true) != -1;
}

}  // namespace

Text WithDefaultLines(const Text& headers, const Text& url) {
  Text block = headers;
  if (!Mentions(block, "Accept: ")) {
    block += Text(
        "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
        "application/x-shockwave-flash, application/vnd.ms-excel, "
        "application/vnd.ms-powerpoint, application/msword, */*\r\n");
  }
  if (!Mentions(block, "Referer: ")) block += Text("Referer: ") + url + Text("\r\n");
  if (!Mentions(block, "Accept-Language: ")) block += Text("Accept-Language: zh-cn\r\n");
  return block;
}

Text WithContentLines(const Text& block, size_t bodyLength) {
  return block + Text("Content-Type: application/x-www-form-urlencoded\r\n") +
         Text("Content-Length: " + std::to_string(bodyLength) + "\r\n");
}

Text WithoutLines(const Text& block, std::initializer_list<std::string_view> names) {
  std::string kept;
  std::string_view rest = block.view();
  while (!rest.empty()) {
    size_t end = rest.find("\r\n");
    std::string_view line = rest.substr(0, end == std::string_view::npos ? end : end + 2);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    std::string_view name = line.substr(0, line.find(':'));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
      name.remove_suffix(1);
    bool drop = false;
    for (std::string_view unwanted : names)
      drop = drop || EqualsIgnoringAsciiCase(name, unwanted);
    if (!drop) kept += line;
  }
  return Text(std::move(kept));
}

std::optional<HeaderList> HeaderListFromBlock(const Text& block) {
  HeaderList list;
  std::string_view rest = block.view();
  while (!rest.empty()) {
    size_t end = rest.find("\r\n");
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    if (line.empty()) continue;
    for (char c : line) {
      if (c != '\t' && IsControlByte(static_cast<unsigned char>(c))) return std::nullopt;
    }
    std::string entry(line);
    // libcurl reads "Name:" with nothing after it as "drop this header"; "Name;" is its way
    // to send the header with an empty value, which is what the caller wrote.
    size_t colon = entry.find(':');
    if (colon != std::string::npos &&
        entry.find_first_not_of(" \t", colon + 1) == std::string::npos) {
      entry.resize(colon);
      entry += ';';
    }
    if (!list.Append(entry.c_str())) return std::nullopt;
  }
  return list;
}

}  // namespace quorvane::net
