// Posting articles over TLS with a login, each on a fresh connection, beside the same client
// over plain NNTP and beside a reference client (openssl s_client driven by the script
// bench/nntps-post-with-openssl), in one run. The clients take turns in blocks, so that all
// meet the same server state. Prints the time per article of each (mean and median), what TLS
// and the login add per article, and the ratio to the reference. Two servers:
//   - the news server of tests/integration/start-servers (its own TLS set-up and password
//     check cost it a good deal per connection, the same for every client);
//   - a small news server inside this program (the test servers of tests/support: TLS with
//     one context that offers session resumption, the password compared in memory), where
//     what is left is the clients' own work and the handshake itself.
//
// usage: news_post_tls [ARTICLES] [BLOCK]   (defaults: 200, 20)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "core/net/ip_misc.h"
#include "core/news/mailnews.h"
#include "support/nntp_peer.h"
#include "support/tls_peer.h"

using namespace pagolin;
using namespace pagolin::bench;

namespace {

constexpr const char* kCAFile = "/etc/news/pagolin-tls/ca.pem";
constexpr const char* kUser = "pagolin-test";
constexpr const char* kPassword = "pagolin-test-password";

struct TClient {
  const char* Name;
  T_NNTP nntp;
  T_News news;
  std::vector<double> ms;
};

void SetUp(TClient& client, const char* host, std::uint16_t port, TNewsSecurity security, bool login) {
  client.nntp.Hostname = host;
  client.nntp.SetPort(port);
  client.nntp.Security = security;
  client.nntp.CAFile = kCAFile;
  client.nntp.User = login ? kUser : "";
  client.nntp.Password = login ? kPassword : "";
  client.news.NNTP = &client.nntp;
  client.news.From = "bench@example.test";
  client.news.Newsgroups = {"local.test"};
  client.news.Body = {kBody};
}

// Posts count articles; false when one failed.
bool Post(TClient& client, const std::string& run, int first, int count, bool measure) {
  for (int i = first; i < first + count; ++i) {
    client.news.Subject = std::string("bench ") + client.Name + " " + run + " " + std::to_string(i);
    const auto t0 = Clock::now();
    try {
      client.news.Send();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "news_post_tls: %s, article %d: %s\n", client.Name, i, e.what());
      return false;
    }
    if (measure) client.ms.push_back(Ms(t0, Clock::now()));
  }
  return true;
}

// The reference posts count articles to host:port; it prints the milliseconds of each.
bool PostWithReference(const std::string& script, const std::string& where, const std::string& caFile,
                       const std::string& run, int count, std::vector<double>* ms) {
  const std::string command = script + " " + where + " " + kUser + " " + kPassword + " " + caFile +
                              " local.test 'bench openssl " + run + "' " + std::to_string(count);
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  double value = 0;
  int read = 0;
  while (std::fscanf(pipe, "%lf", &value) == 1) {
    ++read;
    if (ms) ms->push_back(value);
  }
  return pclose(pipe) == 0 && read == count;
}

void Report(const char* name, const std::vector<double>& ms) {
  std::printf("%-40s %8.3f ms per article (median %8.3f ms)\n", name, Mean(ms), Median(ms));
}

// The small news server's dialogue: TLS first when tls is set, the login when it is asked.
void ServeArticle(test::TPeer& peer, test::TTlsServerContext* tls) {
  if (tls && !tls->Accept(peer)) return;
  peer.Send("200 bench server ready\r\n");
  std::string line;
  while (peer.ReadLine(line)) {
    if (line == "MODE READER") {
      peer.Send("200 reader\r\n");
    } else if (line.rfind("AUTHINFO USER ", 0) == 0) {
      peer.Send("381 password\r\n");
    } else if (line.rfind("AUTHINFO PASS ", 0) == 0) {
      peer.Send(line.substr(14) == kPassword ? "281 ok\r\n" : "481 no\r\n");
    } else if (line == "POST") {
      peer.Send("340 send\r\n");
      peer.ReadArticle();
      peer.Send("240 thanks\r\n");
    } else if (line == "QUIT") {
      peer.Send("205 bye\r\n");
      return;
    } else {
      peer.Send("500 what?\r\n");
    }
  }
}

// The clients take turns in blocks: plain, TLS with a login (also STARTTLS, and a server
// without resumption, when given), then the reference. False when one failed.
bool Compare(const char* title, TClient& plain, TClient& tls, TClient* starttls, TClient* full,
             const std::string& script, const std::string& where, const std::string& caFile, int articles,
             int block) {
  const std::string run = std::to_string(getpid()) + "-" + tls.nntp.Hostname;
  std::vector<double> reference;
  // One unmeasured article each first: the server's caches and the trusted certificates are
  // loaded for all alike.
  const auto post = [&](TClient* client, int first, int n, bool measure) {
    return client == nullptr || Post(*client, run, first, n, measure);
  };
  bool ok = post(&plain, -1, 1, false) && post(&tls, -1, 1, false) && post(starttls, -1, 1, false) &&
            post(full, -1, 1, false) && PostWithReference(script, where, caFile, run + "-warm", 1, nullptr);
  for (int done = 0; ok && done < articles; done += block) {
    const int n = std::min(block, articles - done);
    ok = post(&plain, done, n, true) && post(&tls, done, n, true) && post(starttls, done, n, true) &&
         post(full, done, n, true) &&
         PostWithReference(script, where, caFile, run + "-" + std::to_string(done), n, &reference);
  }
  if (!ok) return false;
  std::printf("\n%s\n", title);
  Report("T_News, plain NNTP", plain.ms);
  Report("T_News, NNTPS + login", tls.ms);
  if (starttls) Report("T_News, STARTTLS + login", starttls->ms);
  if (full) Report("T_News, NNTPS + login, full handshakes", full->ms);
  Report("openssl s_client, NNTPS + login", reference);
  std::printf("NNTPS + login over plain: %+.3f ms per article (mean), %+.3f ms (median)\n",
              Mean(tls.ms) - Mean(plain.ms), Median(tls.ms) - Median(plain.ms));
  if (full) {
    std::printf("full handshakes + login over plain: %+.3f ms per article (mean), %+.3f ms (median)\n",
                Mean(full->ms) - Mean(plain.ms), Median(full->ms) - Median(plain.ms));
  }
  std::printf("ratio ours/openssl s_client over NNTPS + login: %.2f (mean), %.2f (median)\n",
              Mean(tls.ms) / Mean(reference), Median(tls.ms) / Median(reference));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int articles = argc > 1 ? std::atoi(argv[1]) : 200;
  const int block = argc > 2 ? std::atoi(argv[2]) : 20;
  const std::string script = std::string(PAGOLIN_BENCH_DIR) + "/nntps-post-with-openssl";
  StartNetwork();
  std::printf("articles: %d each, fresh connection per article, in turns of %d\n", articles, block);

  TClient plain{"plain", {}, {}, {}}, tls{"nntps-login", {}, {}, {}}, starttls{"starttls-login", {}, {}, {}};
  SetUp(plain, "127.0.0.1", 119, TNewsSecurity::nsNone, false);
  SetUp(tls, "127.0.0.2", 563, TNewsSecurity::nsTls, true);
  SetUp(starttls, "127.0.0.2", 119, TNewsSecurity::nsStartTls, true);
  if (!Compare("The news server (INN on 127.0.0.1:119, 127.0.0.2:563 and :119)", plain, tls, &starttls,
               nullptr, script, "127.0.0.2 563", kCAFile, articles, block)) {
    std::fprintf(stderr, "news_post_tls: stopped (run tests/integration/start-servers?)\n");
    return 1;
  }

  test::TTestCertificate certificate("IP:127.0.0.1");
  if (!certificate.Ok()) return 1;
  test::TTlsServerContext resuming(certificate), notResuming(certificate, false);
  const int connections = articles + 1;
  test::TTestServer plainServer([](test::TPeer& p) { ServeArticle(p, nullptr); }, connections);
  test::TTestServer tlsServer([&](test::TPeer& p) { ServeArticle(p, &resuming); }, 2 * connections);
  test::TTestServer fullServer([&](test::TPeer& p) { ServeArticle(p, &notResuming); }, connections);
  TClient smallPlain{"plain", {}, {}, {}}, smallTls{"nntps-login", {}, {}, {}},
      full{"nntps-full", {}, {}, {}};
  SetUp(smallPlain, "127.0.0.1", plainServer.Port(), TNewsSecurity::nsNone, false);
  SetUp(smallTls, "127.0.0.1", tlsServer.Port(), TNewsSecurity::nsTls, true);
  SetUp(full, "127.0.0.1", fullServer.Port(), TNewsSecurity::nsTls, true);
  smallTls.nntp.CAFile = full.nntp.CAFile = certificate.File();
  if (!Compare(
          "The small news server inside this program (resumption offered; full handshakes on a second one)",
          smallPlain, smallTls, nullptr, &full, script, "127.0.0.1 " + std::to_string(tlsServer.Port()),
          certificate.File(), articles, block)) {
    return 1;
  }
  StopNetwork();
  return 0;
}
