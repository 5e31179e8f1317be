// The demo site's answers as text: the video pages, the play-address XML and the account
// pages. Everything here is UTF-8, the way the real site writes it, and depends on nothing but
// the sample table and the host the addresses should point to.
#pragma once

#include <string>
#include <string_view>

#include "demo/sample_videos.h"

namespace quorvane::demo {

// Where the demo serves a video's cover picture: "/cover/av<AV>.png" or ".jpg".
std::string CoverPath(const SampleVideo& video);
// Where the demo serves segment `segment` (from 1) of a video, as the main or the backup copy.
std::string SegmentPath(const SampleVideo& video, int segment, bool backup);

// The HTML page for the video. `httpHost` ("127.0.0.1:<port>") goes into the cover address.
std::string VideoPage(const SampleVideo& video, std::string_view httpHost);

// The play-address answer for the video: one durl node per segment, each with a main and a
// backup url child written as CDATA because the addresses hold "&".
std::string PlayUrlAnswer(const SampleVideo& video, std::string_view httpHost);
// What the interface answers for an unknown CID or a wrong sign value: a root without durl.
std::string PlayUrlRefusal();

enum class LoginOutcome { WrongCaptcha, WrongPassword, UnknownAccount, Success };

// The page the login answers with. Only the failure pages hold the phrases the program looks
// for; the success page names the account (UTF-8 bytes as received).
std::string LoginPage(LoginOutcome outcome, std::string_view account);
std::string LogoutPage();

}  // namespace quorvane::demo
