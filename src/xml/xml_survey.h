// One look at every byte of the data while it is copied, so that the passes that only ask
// whether some kind of byte occurs at all need not read a large page again.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::xml_detail {

struct DataSurvey {
  // No byte is 0 or above 0x7F, so the conversion from UTF-8 would change nothing.
  bool plainAscii = true;
  // Some byte is "@", with which every CDATA marker starts.
  bool holdsAt = false;
};

// Appends `in` to `out` block by block and surveys each block while it is still in the cache.
DataSurvey CopyAndSurvey(std::string_view in, std::string& out);

// The plainAscii answer alone, for data that was not copied through CopyAndSurvey.
bool IsPlainAscii(std::string_view bytes);

}  // namespace quorvane::xml_detail
