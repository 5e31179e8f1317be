#include "demo/tour.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "app/main_window.h"
#include "demo/demo_site.h"
#include "demo/login_desk.h"
#include "text/encoding.h"

namespace quorvane::demo {
namespace {

// Never a captcha the site hands out: the code alphabet has no zero.
constexpr const char* kWrongCaptcha = "0000";

// The window's controls found by their object names, and the few gestures the tour needs.
class Driver {
 public:
  explicit Driver(MainWindow& window) : window_(window) {}

  // false, with a message, when a control is missing.
  bool Ready() const {
    for (const char* name :
         {"编辑框2", "编辑框3", "编辑框4", "编辑框5", "按钮1", "按钮2", "按钮3", "图片框2"}) {
      if (!Find(name)) {
        std::cerr << "quorvane-demo: the window has no control named " << name << "\n";
        return false;
      }
    }
    return true;
  }

  // Empties the box as a user would, then types the text key by key.
  void Type(const char* box, const std::string& text) {
    auto* edit = qobject_cast<QLineEdit*>(Find(box));
    edit->clear();
    QTest::keyClicks(edit, QString::fromStdString(text));
  }

  // A left click in the middle of the control: a button is clicked, an edit box gets the
  // focus, a picture box gets its press.
  void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }

  std::string Log() const {
    std::string log = GbkToUtf8(window_.controls().ReadContent(EditBox::编辑框1).view());
    std::string lines;
    lines.reserve(log.size());
    for (size_t i = 0; i < log.size(); ++i) {
      if (log[i] == '\r' && i + 1 < log.size() && log[i + 1] == '\n') continue;
      lines += log[i];
    }
    return lines;
  }

  std::string LoginButtonState() const {
    auto* button = qobject_cast<QPushButton*>(Find("按钮1"));
    return "-- 按钮1: " + button->text().toStdString() +
           (button->isEnabled() ? " (enabled)" : " (disabled)") + "\n";
  }

 private:
  QWidget* Find(const char* name) const {
    return window_.findChild<QWidget*>(QString::fromUtf8(name));
  }

  MainWindow& window_;
};

struct Step {
  std::string name;  // also the screenshot's file name
  std::string heading;
  std::function<void(Driver&)> act;
};

std::vector<Step> TourSteps(const DemoSite& site) {
  auto query = [](std::string av) {
    return [av](Driver& driver) {
      driver.Type("编辑框2", av);
      driver.Click("按钮2");
    };
  };
  // The captcha has just been fetched, so the site knows which text it showed.
  auto login = [&site](std::string account, std::string password, bool rightCaptcha) {
    return [&site, account, password, rightCaptcha](Driver& driver) {
      driver.Type("编辑框3", account);
      driver.Type("编辑框4", password);
      driver.Type("编辑框5", rightCaptcha ? site.LastCaptcha() : kWrongCaptcha);
      driver.Click("按钮1");
    };
  };
  auto then = [](std::function<void(Driver&)> first, std::function<void(Driver&)> second) {
    return [first, second](Driver& driver) {
      first(driver);
      second(driver);
    };
  };
  auto click = [](const char* name) { return [name](Driver& driver) { driver.Click(name); }; };
  const std::string account(kDemoAccount);
  const std::string rejected(kRejectedPassword);

  return {
      {"01-query", "query av1219760, a normal video", query("1219760")},
      {"02-query-duplicate", "query av2415790, a duplicate of av1219760", query("2415790")},
      {"03-query-cannot-watch", "query av3308012, a video that cannot be watched",
       query("3308012")},
      {"04-query-without-cid", "query av4096001, a page without a CID", query("4096001")},
      {"05-captcha", "focus 编辑框5: the captcha is fetched", click("编辑框5")},
      {"06-login-wrong-captcha", "log in as demo with a wrong captcha",
       login(account, "secret", false)},
      {"07-login-wrong-password", "click 图片框2 for a new captcha, log in with the password wrong",
       then(click("图片框2"), login(account, rejected, true))},
      {"08-login-unknown-account", "click 图片框2 for a new captcha, log in as nobody",
       then(click("图片框2"), login("nobody", "secret", true))},
      {"09-login", "focus 编辑框5 for a new captcha, log in as demo",
       then(click("编辑框5"), login(account, "secret", true))},
      {"10-logout", "log out", click("按钮3")},
  };
}

// Lets queued work land (the captcha text in the title, repaints) before the picture is taken.
void Settle() {
  for (int round = 0; round < 3; ++round)
    QApplication::processEvents();
}

}  // namespace

int RunTour(MainWindow& window, const DemoSite& site, const std::filesystem::path& screenshotDir,
            std::ostream& out) {
  Driver driver(window);
  if (!driver.Ready()) return 1;
  window.activateWindow();
  // Without an active window no control gets focus events, and the captcha hangs on one.
  if (!QTest::qWaitForWindowActive(&window)) {
    std::cerr << "quorvane-demo: the window could not be activated\n";
    return 1;
  }
  std::error_code error;
  std::filesystem::create_directories(screenshotDir, error);
  if (error) {
    std::cerr << "quorvane-demo: cannot create " << screenshotDir << ": " << error.message()
              << "\n";
    return 1;
  }

  std::vector<Step> steps = TourSteps(site);
  std::string logBefore = driver.Log();
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    step.act(driver);
    Settle();

    std::string log = driver.Log();
    // The log only grows during the tour; the whole box is shown if something cleared it.
    std::string added = log.starts_with(logBefore) ? log.substr(logBefore.size()) : log;
    logBefore = log;
    out << "== " << (i + 1) << "/" << steps.size() << " " << step.heading << " ==\n"
        << added << driver.LoginButtonState();
    out.flush();

    std::filesystem::path picture = screenshotDir / (step.name + ".png");
    if (!window.grab().save(QString::fromStdString(picture.string()), "PNG")) {
      std::cerr << "quorvane-demo: cannot write " << picture << "\n";
      return 1;
    }
  }
  std::cerr << "quorvane-demo: tour done, screenshots in " << screenshotDir.string() << "\n";
  return 0;
}

}  // namespace quorvane::demo
