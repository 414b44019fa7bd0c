#include "core/net/mailnews.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <random>

#include "core/net/headertext.h"
#include "core/net/ip_misc.h"
#include "core/platform/datetime.h"

namespace pagolin {

namespace {

std::string Base36(unsigned long long value) {
  static const char* digits = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string out;
  do {
    out.insert(out.begin(), digits[value % 36]);
    value /= 36;
  } while (value != 0);
  return out;
}

// Differs between program runs: drawn once per run from the system's random source, mixed
// with the process id and the start time in case that source is weak.
const std::string& RunToken() {
  static const std::string token = [] {
    unsigned long long seed = 0;
    try {
      std::random_device device;
      seed = (static_cast<unsigned long long>(device()) << 32) ^ device();
    } catch (...) {
    }
    seed ^= static_cast<unsigned long long>(getpid()) * 0x9E3779B97F4A7C15ull;
    seed ^= static_cast<unsigned long long>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    return Base36(seed);
  }();
  return token;
}

std::atomic<unsigned long long> articleCounter{0};

std::string HeaderLine(const std::string& name, const std::string& value) {
  const std::string prefix = name + ": ";
  return prefix + EncodeHeaderValue(CleanHeaderValue(value), prefix.size());
}

}  // namespace

std::string T_MailNews::NewMessageId() {
  const unsigned long long serial = ++articleCounter;
  return "<" + std::to_string(LocalClockSeconds()) + "." + RunToken() + "." + Base36(serial) +
         "@" + LocalHostName() + ">";
}

bool T_MailNews::Send() {
  article_.insert(article_.begin(), HeaderLine("From", From));
  if (!Sender.empty()) article_.push_back(HeaderLine("Sender", Sender));
  article_.insert(article_.begin() + 1, "Message-ID: " + NewMessageId());
  article_.insert(article_.begin() + 2, "Date: " + DateText(Now()));
  article_.insert(article_.begin() + 3, HeaderLine("Subject", Subject));
  if (!References.empty()) article_.push_back("References: " + CleanHeaderValue(References));
  if (!ReplyTo.empty()) article_.push_back(HeaderLine("Reply-To", ReplyTo));
  if (HasHighBytes(Body)) {
    article_.emplace_back("MIME-Version: 1.0");
    article_.emplace_back("Content-Type: text/plain; charset=windows-1252");
    article_.emplace_back("Content-Transfer-Encoding: 8bit");
  }
  article_.insert(article_.end(), Header.begin(), Header.end());
  article_.emplace_back();
  article_.insert(article_.end(), Body.begin(), Body.end());
  return true;
}

bool T_News::Send() {
  if (NNTP == nullptr || Newsgroups.empty() || Newsgroups.size() > kMaxNewsgroups ||
      From.empty()) {
    return false;
  }
  try {
    for (std::size_t i = 0; i < Newsgroups.size(); ++i) {
      std::string line = (i == 0 ? "Newsgroups: " : "  ") + CleanHeaderValue(Newsgroups[i]);
      if (i + 1 < Newsgroups.size()) line += ",";
      article_.push_back(std::move(line));
    }
    if (!Organization.empty()) article_.push_back(HeaderLine("Organization", Organization));
    T_MailNews::Send();
    NNTP->Login();
    NNTP->SetArticle(&article_);
    NNTP->PostArticle();
  } catch (...) {
    article_.clear();
    throw;
  }
  article_.clear();
  // The server has taken the article: a failed goodbye must not make it look unsent (it
  // would be posted twice).
  try {
    NNTP->Logout();
  } catch (const ETcpIpError&) {
  }
  return true;
}

}  // namespace pagolin
