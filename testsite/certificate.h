// A self-signed certificate for 127.0.0.1 and localhost, made in memory when the site starts.
#pragma once

#include <memory>
#include <string>

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace quorvane::testsite {

struct X509Free {
  void operator()(X509* certificate) const { X509_free(certificate); }
};
struct PkeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};

struct SelfSignedCertificate {
  std::unique_ptr<X509, X509Free> certificate;
  std::unique_ptr<EVP_PKEY, PkeyFree> key;
  std::string pem;
};

// A P-256 key and a certificate valid from an hour ago for 30 days, with the subject
// alternative names IP:127.0.0.1 and DNS:localhost. Empty pointers and an empty PEM when
// OpenSSL fails.
SelfSignedCertificate MakeSelfSignedCertificate();

}  // namespace quorvane::testsite
