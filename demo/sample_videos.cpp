#include "demo/sample_videos.h"

#include <array>

namespace quorvane::demo {
namespace {

constexpr std::array kSamples{
    SampleVideo{.av = "1219760",
                .kind = PageKind::Normal,
                .title = "【演示】夏日街景延时摄影",
                .uploader = "演示用户",
                .uploadTime = "2011-09-14 20:05",
                .cid = "1880528",
                .cover = CoverFormat::Png,
                .segments = 2},
    SampleVideo{.av = "2415790", .kind = PageKind::Duplicate, .duplicateOf = "1219760"},
    SampleVideo{.av = "3308012", .kind = PageKind::CannotWatch},
    SampleVideo{.av = "4096001",
                .kind = PageKind::WithoutCid,
                .title = "【演示】还在转码的投稿",
                .uploader = "路过的UP主",
                .uploadTime = "2012-03-02 08:30",
                .cover = CoverFormat::Jpeg},
};

}  // namespace

std::span<const SampleVideo> SampleVideos() { return kSamples; }

const SampleVideo* FindSampleVideo(std::string_view av) {
  for (const SampleVideo& video : kSamples) {
    if (video.av == av) return &video;
  }
  return nullptr;
}

const SampleVideo* FindSampleVideoByCid(std::string_view cid) {
  if (cid.empty()) return nullptr;
  for (const SampleVideo& video : kSamples) {
    if (video.cid == cid) return &video;
  }
  return nullptr;
}

}  // namespace quorvane::demo
