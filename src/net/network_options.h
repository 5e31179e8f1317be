// Options of the network layer that only tests and the demo set. The shipped program sets none
// of them and trusts the system's certificate store alone.
#pragma once

#include <string>

namespace quorvane {

// From now on, both FetchUrl and WebRequest trust exactly this PEM certificate (the stand-in
// site's) instead of the system's store.
void TrustOnlyCertificateForTesting(std::string pem);

}  // namespace quorvane
