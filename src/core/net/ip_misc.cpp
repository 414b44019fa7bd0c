#include "core/net/ip_misc.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <ctime>
#include <memory>
#include <mutex>
#include <thread>

namespace pagolin {

namespace {

bool networkStarted = false;

constexpr std::array<const char*, 7> kDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct TLookup {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  TIpAddress address = kNoAddress;
  std::string canonicalName;
};

// The name service has no time limit of its own: the lookup runs on a helper thread that owns
// its share of the result, and the caller stops waiting after timeoutMs. A lookup still
// running then finishes on its own and its result is dropped.
std::shared_ptr<TLookup> LookUp(const std::string& name, bool wantCanonical, int timeoutMs) {
  auto lookup = std::make_shared<TLookup>();
  try {
    std::thread([lookup, name, wantCanonical] {
      addrinfo hints{};
      hints.ai_family = AF_INET;
      hints.ai_socktype = SOCK_STREAM;
      if (wantCanonical) hints.ai_flags = AI_CANONNAME;
      addrinfo* found = nullptr;
      TIpAddress address = kNoAddress;
      std::string canonical;
      if (getaddrinfo(name.c_str(), nullptr, &hints, &found) == 0 && found != nullptr) {
        if (found->ai_addr != nullptr && found->ai_addrlen >= sizeof(sockaddr_in)) {
          address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
        }
        if (found->ai_canonname != nullptr) canonical = found->ai_canonname;
        freeaddrinfo(found);
      }
      std::lock_guard<std::mutex> lock(lookup->mutex);
      lookup->address = address;
      lookup->canonicalName = std::move(canonical);
      lookup->finished = true;
      lookup->done.notify_all();
    }).detach();
  } catch (...) {
    return nullptr;  // no thread to be had: the lookup fails
  }
  std::unique_lock<std::mutex> lock(lookup->mutex);
  if (!lookup->done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return lookup->finished; })) {
    return nullptr;
  }
  return lookup;
}

}  // namespace

void StartNetwork() {
  // A send on a connection the peer has closed must come back as an error.
  std::signal(SIGPIPE, SIG_IGN);
  networkStarted = true;
}

void StopNetwork() { networkStarted = false; }

bool NetworkStarted() { return networkStarted; }

TIpAddress ResolveHost(const std::string& host, int timeoutMs) {
  if (host.empty()) return kNoAddress;
  in_addr direct{};
  if (inet_pton(AF_INET, host.c_str(), &direct) == 1) return direct.s_addr;
  const auto lookup = LookUp(host, false, timeoutMs);
  return lookup ? lookup->address : kNoAddress;
}

std::string AddressText(TIpAddress address) {
  const std::uint32_t host = ntohl(address);
  return std::to_string((host >> 24) & 0xFF) + "." + std::to_string((host >> 16) & 0xFF) + "." +
         std::to_string((host >> 8) & 0xFF) + "." + std::to_string(host & 0xFF);
}

std::string LocalHostName() {
  std::array<char, 256> name{};
  if (gethostname(name.data(), 255) != 0 || name[0] == '\0') return "127.0.0.1";
  const auto lookup = LookUp(name.data(), true, 5000);
  if (!lookup || lookup->address == kNoAddress || lookup->canonicalName.empty()) {
    return "127.0.0.1";
  }
  return lookup->canonicalName;
}

int ZoneOffset() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return 0;
  return static_cast<int>(-local.tm_gmtoff / 60);
}

std::string ZoneText() { return ZoneText(ZoneOffset()); }

std::string ZoneText(int offset) {
  if (offset == 0) return "GMT";
  const int minutes = offset < 0 ? -offset : offset;
  return std::string(offset < 0 ? "+" : "-") + ZeroPad(minutes / 60, 2) + ZeroPad(minutes % 60, 2);
}

std::string ZeroPad(long long number, int width) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::string DateText(TDateTime value) { return DateText(value, ZoneOffset()); }

std::string DateText(TDateTime value, int offset) {
  const TDateParts p = DecodeDateTime(value);
  return std::string(kDayNames[DayOfWeek(value) - 1]) + ", " + std::to_string(p.day) + " " +
         kMonthNames[p.month - 1] + " " + std::to_string(p.year) + " " + ZeroPad(p.hour, 2) + ":" +
         ZeroPad(p.minute, 2) + ":" + ZeroPad(p.second, 2) + " " + ZoneText(offset);
}

long long LocalClockSeconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return static_cast<long long>(now);
  return static_cast<long long>(now) + local.tm_gmtoff;
}

}  // namespace pagolin
