#include "query_window_fixture.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include "text/encoding.h"
#include "text/text_ops.h"

namespace quorvane::query_test {

namespace {

// One QApplication for the whole program, made before the first test and gone after the last.
class QtEnvironment : public testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "query_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const kQtEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

QWidget* Child(QWidget& window, const char* utf8Name) {
  auto* widget = window.findChild<QWidget*>(QString::fromUtf8(utf8Name));
  EXPECT_NE(widget, nullptr) << "no control named " << utf8Name;
  return widget;
}

}  // namespace

std::string PlayUrlTarget(const std::string& cid) {
  return std::string("/playurl?quality=2&sign=") + kSign + "&cid=" + cid;
}

std::string WithSite(std::string text, const std::string& host) {
  static const std::string kPlaceholder = "{site}";
  for (size_t at = text.find(kPlaceholder); at != std::string::npos;
       at = text.find(kPlaceholder, at + host.size())) {
    text.replace(at, kPlaceholder.size(), host);
  }
  return text;
}

QueryWindowTest::QueryWindowTest() : endpoints_(Endpoints::Default()) {
  endpoints_.videoHost = site_.HttpHost();
  endpoints_.playUrlHost = site_.HttpHost();
  MakeWindow();
}

QueryWindowTest::~QueryWindowTest() { window_.reset(); }

void QueryWindowTest::MakeWindow() {
  window_ = std::make_unique<MainWindow>(endpoints_, state_);
  window_->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
}

void QueryWindowTest::Serve(const std::string& path, const std::string& body,
                            const std::string& contentType) {
  testsite::Response response;
  response.contentType = contentType;
  response.body = WithSite(body, site_.HttpHost());
  site_.Route("GET", path, response);
}

void QueryWindowTest::ServePlayAnswers(std::map<std::string, std::string> answersByCid) {
  site_.Route("GET", "/playurl",
              [answers = std::move(answersByCid)](const testsite::RecordedRequest& request) {
                testsite::Response response;
                response.contentType = "text/xml";
                const std::string prefix = PlayUrlTarget("");
                if (request.target.rfind(prefix, 0) == 0) {
                  auto found = answers.find(request.target.substr(prefix.size()));
                  if (found != answers.end()) response.body = found->second;
                }
                return response;
              });
}

void QueryWindowTest::MakeVideoHostUnreachable() {
  // Port 9 (discard) has no listener here, so the connection is refused at once.
  endpoints_.videoHost = "127.0.0.1:9";
  MakeWindow();
}

void QueryWindowTest::Query(const std::string& typedAv) {
  QWidget* avBox = Child(*window_, "编辑框2");
  QWidget* queryButton = Child(*window_, "按钮2");
  ASSERT_TRUE(avBox && queryButton);
  avBox->setFocus();
  QTest::keyClick(avBox, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(avBox, Qt::Key_Delete);
  QTest::keyClicks(avBox, QString::fromUtf8(typedAv));
  ASSERT_EQ(window_->controls().ReadContent(EditBox::编辑框2), Local(typedAv));
  // The handler runs to its end inside the click: the fetches block the GUI thread.
  QTest::mouseClick(queryButton, Qt::LeftButton);
}

void QueryWindowTest::ExpectLog(const std::string& expectedUtf8) {
  const Text log = window_->controls().ReadContent(EditBox::编辑框1);
  const Text expected = Local(WithSite(expectedUtf8, site_.HttpHost()));
  EXPECT_TRUE(log == expected) << "log as UTF-8:\n"
                               << GbkToUtf8(log.view()) << "\nexpected:\n"
                               << GbkToUtf8(expected.view());
}

std::vector<std::string> QueryWindowTest::Targets() const {
  std::vector<std::string> targets;
  for (const testsite::RecordedRequest& request : site_.Requests()) {
    EXPECT_EQ(request.method, "GET") << request.target;
    targets.push_back(request.target);
  }
  return targets;
}

QColor QueryWindowTest::CoverPixel() {
  QWidget* cover = Child(*window_, "图片框1");
  if (!cover) return {};
  return cover->grab().toImage().pixelColor(2, 2);
}

}  // namespace quorvane::query_test
