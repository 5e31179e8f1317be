// quorvane-demo: the Quorvane window with the site played by a stand-in inside the same
// process, so every workflow can be tried without a network or an account. With
// "--tour <directory>" it plays the scripted tour instead of waiting for a user.
#include <QApplication>
#include <QMetaObject>
#include <QString>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>

#include "app/main_window.h"
#include "app/window_services.h"
#include "demo/demo_site.h"
#include "demo/tour.h"
#include "net/network_options.h"
#include "query/query_state.h"
#include "text/encoding.h"

namespace {

// The tour always meets the same captchas, so its screenshots are the same on every run.
constexpr uint64_t kTourSeed = 1219760;

struct Options {
  std::optional<std::filesystem::path> tourDirectory;
  bool valid = true;
};

Options ReadOptions(int argc, char* argv[]) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--tour") == 0 && i + 1 < argc) {
      options.tourDirectory = argv[++i];
    } else {
      options.valid = false;
    }
  }
  return options;
}

QString DemoTitle(const QString& programTitle, const std::string& captcha) {
  QString title = programTitle + QStringLiteral(" — demo site");
  if (!captcha.empty()) title += QStringLiteral(", captcha: ") + QString::fromStdString(captcha);
  return title;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Takes Qt's own switches (such as -platform) out of argv first.
  QApplication application(argc, argv);
  const Options options = ReadOptions(argc, argv);
  if (!options.valid) {
    std::cerr << "usage: quorvane-demo [--tour <screenshot directory>]\n";
    return 2;
  }

  quorvane::QueryState state;
  quorvane::InstallWindowServices();
  quorvane::RequireCodePageConverter();
  quorvane::demo::DemoSite site(options.tourDirectory ? kTourSeed : std::random_device{}());
  quorvane::TrustOnlyCertificateForTesting(site.CertificatePem());

  quorvane::MainWindow window(site.DemoEndpoints(), state);
  const QString programTitle = window.windowTitle();
  window.setWindowTitle(DemoTitle(programTitle, {}));
  // The site answers on its own threads; the title is changed on the window's.
  site.SetCaptchaListener([&window, programTitle](const std::string& code) {
    QMetaObject::invokeMethod(
        &window, [&window, title = DemoTitle(programTitle, code)] { window.setWindowTitle(title); },
        Qt::QueuedConnection);
  });
  window.show();

  int result = options.tourDirectory
                   ? quorvane::demo::RunTour(window, site, *options.tourDirectory, std::cout)
                   : application.exec();
  // The window goes before the site; from here on no captcha may post to it.
  site.SetCaptchaListener({});
  return result;
}
