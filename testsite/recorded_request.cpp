#include <string_view>

#include "testsite/http_wire.h"
#include "testsite/stand_in_site.h"

namespace quorvane::testsite {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ')
    s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ')
    s.remove_suffix(1);
  return s;
}

}  // namespace

std::vector<std::string> RecordedRequest::HeaderValues(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& [headerName, value] : headers) {
    if (EqualsNoCase(headerName, name)) values.push_back(value);
  }
  return values;
}

std::string RecordedRequest::Header(const std::string& name) const {
  for (const auto& [headerName, value] : headers) {
    if (EqualsNoCase(headerName, name)) return value;
  }
  return {};
}

std::string RecordedRequest::Cookie(const std::string& name) const {
  // Every Cookie header counts: a client may split its cookies over several lines.
  for (const std::string& line : HeaderValues("Cookie")) {
    std::string_view rest = line;
    while (!rest.empty()) {
      size_t end = rest.find(';');
      std::string_view pair = Trim(rest.substr(0, end));
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
      size_t equals = pair.find('=');
      if (equals != std::string_view::npos && Trim(pair.substr(0, equals)) == name) {
        return std::string(Trim(pair.substr(equals + 1)));
      }
    }
  }
  return {};
}

}  // namespace quorvane::testsite
