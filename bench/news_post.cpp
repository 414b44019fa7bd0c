// Posting articles to the local news server (127.0.0.1:119), each on a fresh connection:
// our client (T_News over T_NNTP) side by side with the server's own inews, one call per
// article, alternating so that both meet the same server state. Prints the time per article
// of each (mean and median) and the ratio.
//
// usage: news_post [ARTICLES] [GROUP]   (defaults: 200, local.test)
// Needs the server of tests/integration/start-servers and /usr/bin/inews (package inn2).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "core/net/ip_misc.h"
#include "core/news/mailnews.h"

using namespace pagolin;

namespace {

using namespace pagolin::bench;

// One article through inews, which composes the missing headers itself.
bool PostWithInews(const std::string& group, const std::string& subject) {
  FILE* pipe = popen("NNTPSERVER=127.0.0.1 /usr/bin/inews -h 2>&1 >/dev/null", "w");
  if (pipe == nullptr) return false;
  std::string article = "From: bench@example.test\nSubject: " + subject + "\nNewsgroups: " + group + "\n\n";
  for (const char* p = kBody; *p != '\0'; ++p) {
    if (*p != '\r') article += *p;
  }
  article += "\n";
  std::fwrite(article.data(), 1, article.size(), pipe);
  return pclose(pipe) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int articles = argc > 1 ? std::atoi(argv[1]) : 200;
  const std::string group = argc > 2 ? argv[2] : "local.test";
  if (access("/usr/bin/inews", X_OK) != 0) {
    std::fprintf(stderr, "news_post: /usr/bin/inews is missing (run tests/integration/start-servers)\n");
    return 1;
  }
  StartNetwork();
  T_NNTP nntp;
  nntp.Hostname = "127.0.0.1";
  T_News news;
  news.NNTP = &nntp;
  news.From = "bench@example.test";
  news.Newsgroups = {group};
  news.Body = {kBody};

  const std::string run = std::to_string(getpid());
  std::vector<double> ours, theirs;
  // One unmeasured article each first: the server's caches warm up for both alike.
  for (int i = -1; i < articles; ++i) {
    news.Subject = "bench ours " + run + " " + std::to_string(i);
    auto t0 = Clock::now();
    try {
      news.Send();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "news_post: our post %d failed: %s\n", i, e.what());
      return 1;
    }
    auto t1 = Clock::now();
    if (i >= 0) ours.push_back(Ms(t0, t1));

    t0 = Clock::now();
    if (!PostWithInews(group, "bench inews " + run + " " + std::to_string(i))) {
      std::fprintf(stderr, "news_post: inews post %d failed\n", i);
      return 1;
    }
    t1 = Clock::now();
    if (i >= 0) theirs.push_back(Ms(t0, t1));
  }
  std::printf("articles: %d each, fresh connection per article, alternating\n", articles);
  std::printf("T_News/T_NNTP: %.3f ms per article (median %.3f ms)\n", Mean(ours), Median(ours));
  std::printf("inews:         %.3f ms per article (median %.3f ms)\n", Mean(theirs), Median(theirs));
  std::printf("ratio ours/inews: %.2f (mean), %.2f (median)\n", Mean(ours) / Mean(theirs),
              Median(ours) / Median(theirs));
  return 0;
}
