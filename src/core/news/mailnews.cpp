#include "core/news/mailnews.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>

#include "core/net/ip_misc.h"
#include "core/news/headertext.h"
#include "core/platform/codepage.h"
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
    seed ^=
        static_cast<unsigned long long>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    return Base36(seed);
  }();
  return token;
}

std::atomic<unsigned long long> articleCounter{0};

// 64-bit FNV-1a: a hash that is the same on every platform and in every program run.
unsigned long long Fnv1a(const std::string& text, unsigned long long hash = 0xcbf29ce484222325ull) {
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

bool IsDomainCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// The domain of an address ("Name <user@example.com>" or "user@example.com"); empty when it
// has none that may stand in a Message-ID.
std::string AddressDomain(const std::string& from) {
  std::string address = from;
  const std::size_t open = address.rfind('<');
  if (open != std::string::npos) address = address.substr(open + 1, address.find('>', open) - open - 1);
  const std::size_t at = address.rfind('@');
  if (at == std::string::npos) return {};
  std::string domain = address.substr(at + 1);
  while (!domain.empty() && domain.back() == ' ') domain.pop_back();
  const bool valid = !domain.empty() && domain.front() != '.' && domain.back() != '.' &&
                     domain.find("..") == std::string::npos &&
                     std::all_of(domain.begin(), domain.end(), IsDomainCharacter);
  return valid ? domain : std::string();
}

std::string HeaderLine(const std::string& name, const std::string& value) {
  const std::string prefix = name + ": ";
  return prefix + EncodeHeaderValue(CleanHeaderValue(value), prefix.size());
}

}  // namespace

std::string T_MailNews::FromLine() const {
  if (FromName.empty()) return HeaderLine("From", From);
  return "From: " + MailboxHeaderValue(CleanHeaderValue(FromName), CleanHeaderValue(From), 6);
}

std::string T_MailNews::NewMessageId() {
  const unsigned long long serial = ++articleCounter;
  return "<" + std::to_string(LocalClockSeconds()) + "." + RunToken() + "." + Base36(serial) + "@" +
         LocalHostName() + ">";
}

std::string T_MailNews::DerivedMessageId(const std::vector<std::string>& parts, const std::string& from) {
  // Each part with its length, so that no two lists of parts read as the same text.
  std::string key;
  // Parts the code page holds are hashed in it, so that a posting keeps the ID it had when the
  // program kept its texts in the code page.
  for (const std::string& part : parts) {
    const std::string hashed = FitsAnsi(part) ? Utf8ToAnsi(part) : part;
    key += std::to_string(hashed.size()) + ":" + hashed + ";";
  }
  const unsigned long long first = Fnv1a(key);
  const unsigned long long second = Fnv1a(key, first ^ 0x9E3779B97F4A7C15ull);
  std::string domain = AddressDomain(from);
  if (domain.empty()) domain = LocalHostName();
  return "<" + Base36(first) + "." + Base36(second) + "@" + domain + ">";
}

bool T_MailNews::Send() {
  article_.insert(article_.begin(), FromLine());
  if (!Sender.empty()) article_.push_back(HeaderLine("Sender", Sender));
  article_.insert(article_.begin() + 1,
                  "Message-ID: " + (MessageID.empty() ? NewMessageId() : CleanHeaderValue(MessageID)));
  article_.insert(article_.begin() + 2, "Date: " + DateText(Now()));
  article_.insert(article_.begin() + 3, HeaderLine("Subject", Subject));
  if (!References.empty()) article_.push_back("References: " + CleanHeaderValue(References));
  if (!ReplyTo.empty()) article_.push_back(HeaderLine("Reply-To", ReplyTo));
  const std::string charset = HasHighBytes(Body) ? BodyCharset(Body) : std::string();
  if (!charset.empty()) {
    article_.emplace_back("MIME-Version: 1.0");
    article_.emplace_back("Content-Type: text/plain; charset=" + charset);
    article_.emplace_back("Content-Transfer-Encoding: 8bit");
  }
  article_.insert(article_.end(), Header.begin(), Header.end());
  article_.emplace_back();
  for (const std::string& item : Body) article_.push_back(BodyInCharset(item, charset));
  return true;
}

bool T_News::Send() {
  alreadyOnServer_ = false;
  if (NNTP == nullptr || Newsgroups.empty() || Newsgroups.size() > kMaxNewsgroups || From.empty()) {
    return false;
  }
  // The composed article is emptied however this ends.
  struct TEmptyAtEnd {
    std::vector<std::string>& lines;
    ~TEmptyAtEnd() { lines.clear(); }
  } emptyAtEnd{article_};
  for (std::size_t i = 0; i < Newsgroups.size(); ++i) {
    std::string line = (i == 0 ? "Newsgroups: " : "  ") + CleanHeaderValue(Newsgroups[i]);
    if (i + 1 < Newsgroups.size()) line += ",";
    article_.push_back(std::move(line));
  }
  if (!Organization.empty()) article_.push_back(HeaderLine("Organization", Organization));
  T_MailNews::Send();
  NNTP->Login();
  NNTP->SetArticle(&article_);
  try {
    NNTP->PostArticle();
  } catch (const EProtocolError& e) {
    // A retry of an article that went out before: the server has it.
    if (!T_NNTP::IsDuplicateRefusal(e)) throw;
    alreadyOnServer_ = true;
  }
  if (OnPosted) OnPosted();
  // The server has the article: a failed goodbye must not make it look unsent (it would be
  // posted twice).
  try {
    NNTP->Logout();
  } catch (const ETcpIpError&) {
  }
  return true;
}

}  // namespace pagolin
