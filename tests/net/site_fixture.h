// A stand-in site per test, trusted by both routines, with short time-outs so that a test
// against a server that stalls ends in seconds.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "net/network_options.h"
#include "testsite/stand_in_site.h"
#include "text/text.h"

namespace quorvane::test_support {

using namespace std::chrono_literals;

class SiteTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(site.HttpPort(), 0);
    ASSERT_NE(site.HttpsPort(), 0);
    TrustOnlyCertificateForTesting(site.CertificatePem());
    SetTimeoutsForTesting(2000ms, 1000ms);
  }
  void TearDown() override {
    SetTimeoutsForTesting(0ms, 0ms);
    TrustOnlyCertificateForTesting("");
  }

  Text Http(const std::string& pathAndQuery) const {
    return Text("http://" + site.HttpHost() + pathAndQuery);
  }
  Text Https(const std::string& pathAndQuery) const {
    return Text("https://" + site.HttpsHost() + pathAndQuery);
  }
  // The one request the site received; fails the test when there were more or none.
  testsite::RecordedRequest OnlyRequest() const {
    auto requests = site.Requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? testsite::RecordedRequest{} : requests.front();
  }
  static testsite::Response Body(std::string body) {
    testsite::Response response;
    response.body = std::move(body);
    return response;
  }

  testsite::StandInSite site;
};

}  // namespace quorvane::test_support
