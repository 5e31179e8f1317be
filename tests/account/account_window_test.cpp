// The account workflows end to end: the real window on the offscreen platform, the real
// network layer, and a stand-in site whose record shows what was actually sent.
#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "net/network_options.h"
#include "query/query_state.h"
#include "support/image_bytes.h"
#include "testsite/stand_in_site.h"
#include "text/encoding.h"
#include "text/text_ops.h"

using namespace std::chrono_literals;

namespace quorvane {
namespace {

using testsite::RecordedRequest;
using testsite::Response;
using testsite::StandInSite;

constexpr const char* kGameHost = "game.example.test";
constexpr const char* kReturnAddress = "gourl=http%3A%2F%2Fgame.example.test%2Findex.html";

// A real PNG, so that the captcha box visibly shows something that a clear must remove.
std::string CaptchaPng() {
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(Qt::red);
  return test_support::EncodeImage(image, "PNG").str();
}

Response Page(std::string utf8Body) {
  Response page;
  page.body = std::move(utf8Body);
  return page;
}

// A login answer that trickles in for about a second and a half, long enough for posted
// clicks to be dispatched inside the read loop.
Response SlowPage(std::string utf8Body) {
  Response page = Page(std::move(utf8Body));
  page.body.resize(320, ' ');
  page.pieceSize = 16;
  page.pauseBeforePiece = 80ms;
  return page;
}

QString Shown(const Text& text) { return QString::fromStdString(GbkToUtf8(text.view())); }

}  // namespace

class AccountWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void captchaCookieTravelsWithLoginAndLoginCookieWithLogout();
  void judgedOutcomes_data();
  void judgedOutcomes();
  void emptyFieldStops_data();
  void emptyFieldStops();
  void fieldsAreEncodedAsTheSiteExpects_data();
  void fieldsAreEncodedAsTheSiteExpects();
  void unreachableSiteLeavesLoginDisabledUntilLogout();
  void captchaOnFocusAndOnClick();
  void nestedLogoutAndLoginDuringSlowAnswer();
  void closingTheWindowDuringSlowLoginEndsCleanly();

 private:
  void Open(const Endpoints& endpoints);
  Endpoints SiteEndpoints() const;
  QWidget* Widget(const char* utf8Name) const;
  QAbstractButton* LoginButton() const;
  void Click(const char* utf8Name) const;
  void Focus(const char* utf8Name) const;
  void Fill(const char* account, const char* password, const char* captcha);
  QString Log() const;
  QImage CaptchaShown() const;

  std::unique_ptr<StandInSite> site_;
  std::unique_ptr<QueryState> state_;
  QPointer<MainWindow> window_;
  QImage blankCaptcha_;
};

void AccountWindowTest::init() {
  site_ = std::make_unique<StandInSite>();
  TrustOnlyCertificateForTesting(site_->CertificatePem());
  Open(SiteEndpoints());
}

void AccountWindowTest::cleanup() {
  delete window_.data();
  state_.reset();
  site_.reset();
}

Endpoints AccountWindowTest::SiteEndpoints() const {
  return Endpoints{site_->HttpHost(), site_->HttpHost(), site_->HttpsHost(), site_->HttpsHost(),
                   kGameHost};
}

void AccountWindowTest::Open(const Endpoints& endpoints) {
  delete window_.data();
  state_ = std::make_unique<QueryState>();
  window_ = new MainWindow(endpoints, *state_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_));
  // Park the focus on the account box, so that only the tests themselves move it into the
  // captcha box; then start from an empty log and an empty record.
  Focus("编辑框3");
  QCoreApplication::processEvents();
  window_->controls().WriteContent(EditBox::编辑框1, Text());
  site_->ClearRequests();
  blankCaptcha_ = CaptchaShown();
}

QWidget* AccountWindowTest::Widget(const char* utf8Name) const {
  auto* widget = window_->findChild<QWidget*>(QString::fromUtf8(utf8Name));
  if (widget == nullptr) qFatal("no control named %s", utf8Name);
  return widget;
}

QAbstractButton* AccountWindowTest::LoginButton() const {
  return qobject_cast<QAbstractButton*>(Widget("按钮1"));
}

void AccountWindowTest::Click(const char* utf8Name) const {
  QTest::mouseClick(Widget(utf8Name), Qt::LeftButton);
}

void AccountWindowTest::Focus(const char* utf8Name) const {
  Widget(utf8Name)->setFocus(Qt::OtherFocusReason);
}

void AccountWindowTest::Fill(const char* account, const char* password, const char* captcha) {
  Controls& controls = window_->controls();
  controls.WriteContent(EditBox::编辑框3, Local(account));
  controls.WriteContent(EditBox::编辑框4, Local(password));
  controls.WriteContent(EditBox::编辑框5, Local(captcha));
}

QString AccountWindowTest::Log() const {
  return Shown(window_->controls().ReadContent(EditBox::编辑框1));
}

QImage AccountWindowTest::CaptchaShown() const { return Widget("图片框2")->grab().toImage(); }

// The site ties the image to the login only through the cookie it set with the image, and the
// login's own cookie must then reach the logout.
void AccountWindowTest::captchaCookieTravelsWithLoginAndLoginCookieWithLogout() {
  Response captcha;
  captcha.contentType = "image/png";
  captcha.body = CaptchaPng();
  captcha.headers = {{"Set-Cookie", "vdkey=c-7f3a; Path=/"}};
  site_->Route("GET", "/captcha", captcha);
  site_->Route("POST", "/login", [](const RecordedRequest& request) {
    if (request.Cookie("vdkey") != "c-7f3a") return Page("<p>验证码错误</p>");
    Response welcome = Page("<p>欢迎回来</p>");
    welcome.headers = {{"Set-Cookie", "session=s-42; Path=/"}};
    return welcome;
  });
  site_->Route("GET", "/login", Page("bye"));

  Focus("编辑框5");
  QTRY_COMPARE(site_->Requests().size(), size_t{1});
  Fill("user01", "secret", "ab12");
  Click("按钮1");
  Click("按钮3");

  QCOMPARE(Log(), QString::fromUtf8("登录信息:获取验证码中…\r\n"
                                    "登录信息:正在登录...\r\n"
                                    "登录信息:登录成功\r\n"
                                    "登录信息:账号已注销\r\n"));
  QVERIFY(LoginButton()->isEnabled());
  QCOMPARE(LoginButton()->text(), QString::fromUtf8("登录成功"));

  const auto requests = site_->Requests();
  QCOMPARE(requests.size(), size_t{3});
  QCOMPARE(requests[0].target, std::string("/captcha"));
  QCOMPARE(requests[1].target, std::string("/login"));
  QCOMPARE(requests[1].Cookie("vdkey"), std::string("c-7f3a"));
  QCOMPARE(requests[2].method, std::string("GET"));
  QCOMPARE(requests[2].target, std::string("/login?act=exit"));
  QCOMPARE(requests[2].Cookie("session"), std::string("s-42"));
  for (const auto& request : requests)
    QVERIFY(request.secure);
}

void AccountWindowTest::judgedOutcomes_data() {
  QTest::addColumn<int>("status");
  QTest::addColumn<QByteArray>("answer");
  QTest::addColumn<QString>("resultLine");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<bool>("disabled");

  auto row = [](const char* name, int status, const char* answer, const char* line,
                const char* caption, bool disabled) {
    QTest::newRow(name) << status << QByteArray(answer) << QString::fromUtf8(line)
                        << QString::fromUtf8(caption) << disabled;
  };
  row("captcha error", 200, "<p>验证码错误，请重试</p>", "登录信息:验证码错误\r\n", "登录失败",
      false);
  row("password error", 200, "<p>密码错误</p>", "登录信息:密码错误\r\n", "密码错误", false);
  row("unknown user", 200, "<p>用户名不存在</p>", "登录信息:用户名不存在\r\n", "用户不存在", false);
  row("both phrases: captcha wins", 200, "<p>密码错误</p><p>验证码错误</p>",
      "登录信息:验证码错误\r\n", "登录失败", false);
  row("success", 200, "<p>欢迎回来</p>", "登录信息:登录成功\r\n", "登录成功", true);
  // The site's error pages carry none of the three phrases, so they read as success.
  row("any other page", 500, "<h1>Internal Server Error</h1>", "登录信息:登录成功\r\n", "登录成功",
      true);
  row("empty answer", 200, "", "", "登录", true);
}

void AccountWindowTest::judgedOutcomes() {
  QFETCH(int, status);
  QFETCH(QByteArray, answer);
  Response page = Page(answer.toStdString());
  page.status = status;
  site_->Route("POST", "/login", page);

  Fill("user01", "secret pw", "ab12");
  Click("按钮1");

  QFETCH(QString, resultLine);
  QFETCH(QString, caption);
  QFETCH(bool, disabled);
  QCOMPARE(Log(), QString::fromUtf8("登录信息:正在登录...\r\n") + resultLine);
  QCOMPARE(LoginButton()->text(), caption);
  QCOMPARE(LoginButton()->isEnabled(), !disabled);
  // Password and captcha serve one attempt; the account stays for the next.
  Controls& controls = window_->controls();
  QCOMPARE(controls.ReadContent(EditBox::编辑框3), Text("user01"));
  QCOMPARE(controls.ReadContent(EditBox::编辑框4), Text());
  QCOMPARE(controls.ReadContent(EditBox::编辑框5), Text());

  const auto requests = site_->Requests();
  QCOMPARE(requests.size(), size_t{1});
  QVERIFY(requests[0].secure);
  QCOMPARE(requests[0].method, std::string("POST"));
  QCOMPARE(requests[0].target, std::string("/login"));
  QCOMPARE(requests[0].Header("Content-Type"), std::string("application/x-www-form-urlencoded"));
  QCOMPARE(requests[0].body,
           std::string(kReturnAddress) + "&userid=user01&pwd=secret%20pw&vdcode=ab12");
}

void AccountWindowTest::emptyFieldStops_data() {
  QTest::addColumn<QString>("account");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("captcha");
  QTest::addColumn<QString>("line");
  auto row = [](const char* name, const char* account, const char* password, const char* captcha,
                const char* line) {
    QTest::newRow(name) << QString::fromUtf8(account) << QString::fromUtf8(password)
                        << QString::fromUtf8(captcha) << QString::fromUtf8(line);
  };
  row("account empty, others filled", "", "pw", "ab12", "登录信息:账号未填!!\r\n");
  row("password empty", "user01", "", "ab12", "登录信息:密码未填写\r\n");
  row("captcha empty", "user01", "pw", "", "登录信息:验证码未填写\r\n");
  // Only the exactly empty text is empty.
  row("spaces count as filled", " ", " ", "", "登录信息:验证码未填写\r\n");
}

void AccountWindowTest::emptyFieldStops() {
  Response image;
  image.contentType = "image/png";
  image.body = CaptchaPng();
  site_->Route("GET", "/captcha", image);
  Click("图片框2");
  QVERIFY(CaptchaShown() != blankCaptcha_);
  window_->controls().WriteContent(EditBox::编辑框1, Text());
  site_->ClearRequests();

  QFETCH(QString, account);
  QFETCH(QString, password);
  QFETCH(QString, captcha);
  Fill(account.toUtf8().constData(), password.toUtf8().constData(), captcha.toUtf8().constData());
  Click("按钮1");

  QFETCH(QString, line);
  QCOMPARE(Log(), line);
  QCOMPARE(CaptchaShown(), blankCaptcha_);
  QVERIFY(site_->Requests().empty());
  QVERIFY(LoginButton()->isEnabled());
  QCOMPARE(LoginButton()->text(), QString::fromUtf8("登录"));
  Controls& controls = window_->controls();
  QCOMPARE(Shown(controls.ReadContent(EditBox::编辑框4)), password);
  QCOMPARE(Shown(controls.ReadContent(EditBox::编辑框5)), captcha);
}

void AccountWindowTest::fieldsAreEncodedAsTheSiteExpects_data() {
  QTest::addColumn<QString>("account");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("captcha");
  QTest::addColumn<QByteArray>("fields");
  auto row = [](const char* name, const char* account, const char* password, const char* captcha,
                const char* fields) {
    QTest::newRow(name) << QString::fromUtf8(account) << QString::fromUtf8(password)
                        << QString::fromUtf8(captcha) << QByteArray(fields);
  };
  row("plain account unchanged", "Mr.user-01_x@mail.com", "pw", "ab12",
      "&userid=Mr.user-01_x@mail.com&pwd=pw&vdcode=ab12");
  row("space and plus", "a b+c", "x y+z", "ab12", "&userid=a%20b%2Bc&pwd=x%20y%2Bz&vdcode=ab12");
  // 张三 is D5 C5 C8 FD in code page 936, 中 is D6 D0.
  row("Chinese as local bytes", "张三", "中", "ab12",
      "&userid=%D5%C5%C8%FD&pwd=%D6%D0&vdcode=ab12");
  row("line feed", "user01", "a\nb", "ab12", "&userid=user01&pwd=a%0Ab&vdcode=ab12");
  row("captcha goes as typed", "user01", "pw", "a&b=c", "&userid=user01&pwd=pw&vdcode=a&b=c");
}

void AccountWindowTest::fieldsAreEncodedAsTheSiteExpects() {
  site_->Route("POST", "/login", Page("ok"));
  QFETCH(QString, account);
  QFETCH(QString, password);
  QFETCH(QString, captcha);
  Fill(account.toUtf8().constData(), password.toUtf8().constData(), captcha.toUtf8().constData());
  Click("按钮1");

  QFETCH(QByteArray, fields);
  const auto requests = site_->Requests();
  QCOMPARE(requests.size(), size_t{1});
  QCOMPARE(requests[0].body, kReturnAddress + fields.toStdString());
  QCOMPARE(requests[0].Header("Content-Length"), std::to_string(requests[0].body.size()));
  // The password appears nowhere in what the user sees.
  QVERIFY(!Log().contains(password));
}

void AccountWindowTest::unreachableSiteLeavesLoginDisabledUntilLogout() {
  Open(Endpoints{"127.0.0.1:1", "127.0.0.1:1", "127.0.0.1:1", "127.0.0.1:1", kGameHost});
  Fill("user01", "secret", "ab12");
  Click("按钮1");
  QCOMPARE(Log(), QString::fromUtf8("登录信息:正在登录...\r\n"));
  QVERIFY(!LoginButton()->isEnabled());

  Click("按钮3");
  QCOMPARE(Log(), QString::fromUtf8("登录信息:正在登录...\r\n"
                                    "登录信息:账号已注销\r\n"));
  QVERIFY(LoginButton()->isEnabled());
  QCOMPARE(LoginButton()->text(), QString::fromUtf8("登录"));
}

// Every gain of focus fetches a fresh image, and so does a click on the image, even an empty one.
void AccountWindowTest::captchaOnFocusAndOnClick() {
  Response captcha;
  captcha.contentType = "image/png";
  captcha.body = CaptchaPng();
  site_->Route("GET", "/captcha", captcha);

  Click("图片框2");
  QVERIFY(CaptchaShown() != blankCaptcha_);
  Focus("编辑框5");
  QTRY_COMPARE(site_->Requests().size(), size_t{2});
  Focus("编辑框3");
  Focus("编辑框5");
  QTRY_COMPARE(site_->Requests().size(), size_t{3});

  QCOMPARE(Log(), QString::fromUtf8("登录信息:再次获取验证码中…\r\n"
                                    "登录信息:获取验证码中…\r\n"
                                    "登录信息:获取验证码中…\r\n"));
  for (const auto& request : site_->Requests()) {
    QVERIFY(request.secure);
    QCOMPARE(request.target, std::string("/captcha"));
  }
  // A failed fetch empties the box rather than leaving the old image next to a new attempt.
  site_->Route("GET", "/captcha", Page(""));
  Click("图片框2");
  QCOMPARE(CaptchaShown(), blankCaptcha_);
}

// While the outer login's answer trickles in, the user clicks the captcha, logs out and logs in
// again. Each run judges its own answer, and the outer one has the last word on 按钮1.
void AccountWindowTest::nestedLogoutAndLoginDuringSlowAnswer() {
  site_->Route("POST", "/login", [](const RecordedRequest& request) {
    if (request.body.find("userid=outer") != std::string::npos) return SlowPage("<p>欢迎</p>");
    return Page("<p>密码错误</p>");
  });
  site_->Route("GET", "/login", Page("bye"));
  site_->Route("GET", "/captcha", Page(""));

  bool innerLoginRan = false;
  QTimer::singleShot(100ms, window_, [&] {
    Click("图片框2");
    QTimer::singleShot(100ms, window_, [&] {
      Click("按钮3");
      QTimer::singleShot(100ms, window_, [&] {
        Fill("inner", "pw2", "cd2");
        Click("按钮1");
        innerLoginRan = true;
      });
    });
  });
  Fill("outer", "pw1", "cd1");
  Click("按钮1");

  QVERIFY(innerLoginRan);
  QCOMPARE(Log(), QString::fromUtf8("登录信息:正在登录...\r\n"
                                    "登录信息:再次获取验证码中…\r\n"
                                    "登录信息:账号已注销\r\n"
                                    "登录信息:正在登录...\r\n"
                                    "登录信息:密码错误\r\n"
                                    "登录信息:登录成功\r\n"));
  QVERIFY(!LoginButton()->isEnabled());
  QCOMPARE(LoginButton()->text(), QString::fromUtf8("登录成功"));

  const auto requests = site_->Requests();
  QCOMPARE(requests.size(), size_t{4});
  QCOMPARE(requests[0].body, std::string(kReturnAddress) + "&userid=outer&pwd=pw1&vdcode=cd1");
  QCOMPARE(requests[1].target, std::string("/captcha"));
  QCOMPARE(requests[2].target, std::string("/login?act=exit"));
  QCOMPARE(requests[3].body, std::string(kReturnAddress) + "&userid=inner&pwd=pw2&vdcode=cd2");
}

// Closing the window while the login reads must not crash, and the program's loop must end
// once the handler has returned rather than hang on.
void AccountWindowTest::closingTheWindowDuringSlowLoginEndsCleanly() {
  site_->Route("POST", "/login", SlowPage("<p>欢迎</p>"));
  bool handlerReturned = false;
  bool gaveUpWaiting = false;
  Fill("user01", "pw", "ab12");
  QTimer::singleShot(0, window_, [&] {
    QTimer::singleShot(200ms, window_, [&] { window_->close(); });
    Click("按钮1");
    handlerReturned = true;
  });
  QTimer safety;
  safety.setSingleShot(true);
  connect(&safety, &QTimer::timeout, [&] {
    gaveUpWaiting = true;
    QCoreApplication::quit();
  });
  safety.start(20s);
  QApplication::exec();

  QVERIFY(handlerReturned);
  QVERIFY(!gaveUpWaiting);
  QVERIFY(!window_.isNull());
  QVERIFY(!window_->isVisible());
  QCOMPARE(Log(), QString::fromUtf8("登录信息:正在登录...\r\n"
                                    "登录信息:登录成功\r\n"));
}

}  // namespace quorvane

QTEST_MAIN(quorvane::AccountWindowTest)
#include "account_window_test.moc"
