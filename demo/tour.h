// The scripted tour: the demo's whole story played on the real window without a user, for
// machines without a display and for the test that guards the demo.
#pragma once

#include <filesystem>
#include <iosfwd>

namespace quorvane {
class MainWindow;
}

namespace quorvane::demo {

class DemoSite;

// Queries every sample video, fetches captchas, tries each login outcome, logs in and out,
// by clicking and typing into the window's own widgets. After each step it writes a heading,
// the lines the step added to the log box (UTF-8, one "\n" per line break) and the state of
// 按钮1 to `out`, and saves a screenshot of the window into `screenshotDir`.
// 0 when every step ran; 1, with a message on standard error, when a control is missing,
// the window cannot be activated or a screenshot cannot be written.
int RunTour(MainWindow& window, const DemoSite& site, const std::filesystem::path& screenshotDir,
            std::ostream& out);

}  // namespace quorvane::demo
