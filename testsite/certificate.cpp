#include "testsite/certificate.h"

#include <cstdint>

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>

namespace quorvane::testsite {
namespace {

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct ExtensionFree {
  void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
};

bool AddExtension(X509* certificate, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
  std::unique_ptr<X509_EXTENSION, ExtensionFree> extension(
      X509V3_EXT_conf_nid(nullptr, &context, nid, value));
  return extension && X509_add_ext(certificate, extension.get(), -1) == 1;
}

std::string ToPem(X509* certificate) {
  std::unique_ptr<BIO, BioFree> bio(BIO_new(BIO_s_mem()));
  if (!bio || PEM_write_bio_X509(bio.get(), certificate) != 1) return {};
  char* data = nullptr;
  long size = BIO_get_mem_data(bio.get(), &data);
  return size > 0 ? std::string(data, static_cast<size_t>(size)) : std::string();
}

}  // namespace

SelfSignedCertificate MakeSelfSignedCertificate() {
  SelfSignedCertificate made;
  std::unique_ptr<EVP_PKEY, PkeyFree> key(EVP_EC_gen("P-256"));
  std::unique_ptr<X509, X509Free> certificate(X509_new());
  if (!key || !certificate) return made;

  X509* x = certificate.get();
  // A random serial keeps two sites of one run from looking like the same certificate.
  uint64_t serial = 0;
  RAND_bytes(reinterpret_cast<unsigned char*>(&serial), sizeof serial);
  serial >>= 1;
  if (X509_set_version(x, 2) != 1 ||
      ASN1_INTEGER_set_uint64(X509_get_serialNumber(x), serial) != 1 ||
      !X509_gmtime_adj(X509_getm_notBefore(x), -3600) ||
      !X509_gmtime_adj(X509_getm_notAfter(x), 30L * 24 * 3600) ||
      X509_set_pubkey(x, key.get()) != 1) {
    return made;
  }
  X509_NAME* name = X509_get_subject_name(x);
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("Quorvane stand-in site"), -1,
                             -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
  X509_set_issuer_name(x, name);

  // CA:TRUE lets the certificate be its own trust anchor when a client is told to trust it.
  if (!AddExtension(x, NID_basic_constraints, "critical,CA:TRUE") ||
      !AddExtension(x, NID_key_usage, "critical,digitalSignature,keyCertSign") ||
      !AddExtension(x, NID_ext_key_usage, "serverAuth") ||
      !AddExtension(x, NID_subject_key_identifier, "hash") ||
      !AddExtension(x, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost")) {
    return made;
  }
  if (X509_sign(x, key.get(), EVP_sha256()) == 0) return made;

  made.pem = ToPem(x);
  if (made.pem.empty()) return made;
  made.certificate = std::move(certificate);
  made.key = std::move(key);
  return made;
}

}  // namespace quorvane::testsite
