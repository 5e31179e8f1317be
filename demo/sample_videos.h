// The videos the demo site knows. Each one shows one road through the video query: a normal
// page, a duplicate notice that points to another video, a video that cannot be watched any
// more and a page without a CID. The texts are the site's own and stay UTF-8.
#pragma once

#include <span>
#include <string_view>

namespace quorvane::demo {

enum class PageKind { Normal, Duplicate, CannotWatch, WithoutCid };
enum class CoverFormat { Png, Jpeg };

struct SampleVideo {
  std::string_view av{};
  PageKind kind = PageKind::Normal;
  std::string_view title{};
  std::string_view uploader{};
  std::string_view uploadTime{};
  // Empty for every page without a CID; the play-address interface knows only the ones given.
  std::string_view cid{};
  CoverFormat cover = CoverFormat::Png;
  // For a duplicate notice: the AV number it points to.
  std::string_view duplicateOf{};
  // How many durl nodes the play-address answer holds; each has two url children.
  int segments = 0;
};

// All sample videos, the normal one (the number the window starts with) first.
std::span<const SampleVideo> SampleVideos();

// The sample with this AV number, or nullptr.
const SampleVideo* FindSampleVideo(std::string_view av);
// The sample whose page carries this CID, or nullptr; an empty CID finds nothing.
const SampleVideo* FindSampleVideoByCid(std::string_view cid);

}  // namespace quorvane::demo
