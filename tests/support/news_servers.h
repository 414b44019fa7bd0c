// The news servers tests/integration/start-servers runs on loopback beside the plain one
// (news_reader.h): TLS and STARTTLS with certificates of a test authority, and a second address
// where posting needs a login.
#pragma once

#include <cstdint>

namespace pagolin::test {

// The test authority that signed the servers' certificate (for localhost, 127.0.0.1, 127.0.0.2).
inline constexpr const char* kTestCAFile = "/etc/news/pagolin-tls/ca.pem";

// 127.0.0.1: 119 plain and STARTTLS, 563 TLS; open to this machine.
inline constexpr const char* kOpenServer = "127.0.0.1";
// 127.0.0.2: 119 plain and STARTTLS, 563 TLS; posting only after the login below.
inline constexpr const char* kLoginServer = "127.0.0.2";
inline constexpr std::uint16_t kPlainPort = 119;
inline constexpr std::uint16_t kTlsPort = 563;
inline constexpr const char* kLoginUser = "pagolin-test";
inline constexpr const char* kLoginPassword = "pagolin-test-password";

inline constexpr const char* kTlsServersMissing =
    "The TLS and login news servers do not answer (127.0.0.1:563, 127.0.0.2:119 and :563). Start them "
    "with tests/integration/start-servers (scripts/setup test does this).";

}  // namespace pagolin::test
