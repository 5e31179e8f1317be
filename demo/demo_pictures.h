// The pictures the demo site serves, drawn with Qt when the demo starts. Drawing text needs
// the running QGuiApplication, so the site gets them ready-made and never draws on its own
// threads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "demo/sample_videos.h"

namespace quorvane::demo {

// A 320 × 180 cover with the video's title and AV number, encoded in the video's format.
// Empty if the image writer for the format is missing.
std::string DrawCover(const SampleVideo& video);

// A 112 × 40 JPEG captcha showing `code`, with noise that `seed` fixes.
std::string DrawCaptcha(std::string_view code, uint32_t seed);

}  // namespace quorvane::demo
