// The file servers of tests/integration/start-file-servers, as the publishing tests reach them:
// SFTP on 127.0.0.1:2222 and FTP/FTPS on 127.0.0.1:2121 for the user pagolin-publish, whose
// home folder holds a fresh folder per test. Files are read back over the protocol they went up
// by; the folder itself is made and removed on the disk (the servers run on this machine).
#pragma once

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "core/publish/curlfolder.h"
#include "support/testsite.h"

namespace pagolin::testing {

inline const std::string kServersState = "/var/lib/pagolin-file-servers/";
inline const std::string kPublishUser = "pagolin-publish";
inline constexpr int kSftpPort = 2222;
inline constexpr int kFtpPort = 2121;

inline std::string PublishUserPassword() {
  std::string password = ReadText(kServersState + "password");
  while (!password.empty() && (password.back() == '\n' || password.back() == '\r')) password.pop_back();
  return password;
}

// The options that reach the servers: the test key and known host for SFTP, the password and
// the test authority for FTP and FTPS.
inline TConnectionOptions ServerOptions(TPublishProtocol protocol) {
  TConnectionOptions options;
  options.User = kPublishUser;
  options.UseAgent = false;
  options.ConnectTimeoutSeconds = 10;
  options.StallTimeoutSeconds = 20;
  if (protocol == TPublishProtocol::ppSftp) {
    options.PrivateKeyFile = kServersState + "client_key";
    options.KnownHostsFile = kServersState + "known_hosts";
  } else {
    options.Password = PublishUserPassword();
    options.CAFile = kServersState + "ca.pem";
  }
  return options;
}

// A folder of its own in the test user's home, named after the test, made empty and owned by
// the user, removed at the end.
class TServerFolder {
 public:
  TServerFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("t-") + (info ? info->name() : "x") + "-" + std::to_string(::getpid());
    for (char& c : name)
      if (c == '/') c = '-';
    name_ = name;
    const passwd* user = ::getpwnam(kPublishUser.c_str());
    if (!user) throw std::runtime_error("the test user is missing: run tests/integration/start-file-servers");
    path_ = std::string(user->pw_dir) + "/" + name_;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    if (::chown(path_.c_str(), user->pw_uid, user->pw_gid) != 0) throw std::runtime_error("chown " + path_);
  }
  ~TServerFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TServerFolder(const TServerFolder&) = delete;
  TServerFolder& operator=(const TServerFolder&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Path() const { return path_; }
  // The publish address of the folder over protocol (SFTP on port, default the shared server).
  std::string Url(TPublishProtocol protocol, int sftpPort = kSftpPort) const {
    switch (protocol) {
      case TPublishProtocol::ppSftp: return "sftp://127.0.0.1:" + std::to_string(sftpPort) + "/~/" + name_;
      case TPublishProtocol::ppFtps: return "ftps://127.0.0.1:" + std::to_string(kFtpPort) + "/" + name_;
      case TPublishProtocol::ppFtp: return "ftp://127.0.0.1:" + std::to_string(kFtpPort) + "/" + name_;
    }
    return {};
  }
  // The names in the folder on the disk.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.insert(entry.path().filename());
    return names;
  }

 private:
  std::string name_;
  std::string path_;
};

// A file of the folder read back over the protocol it was published by; false when that fails.
inline bool Download(const TPublishUrl& url, const TConnectionOptions& options, const std::string& name,
                     std::string& contents) {
  CURL* curl = curl_easy_init();
  contents.clear();
  const std::string address = CurlUrl(url, name);
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_USERNAME, options.User.c_str());
  if (!options.Password.empty()) curl_easy_setopt(curl, CURLOPT_PASSWORD, options.Password.c_str());
  if (url.Protocol == TPublishProtocol::ppSftp) {
    curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, options.PrivateKeyFile.c_str());
    curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE, "");
    curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, options.KnownHostsFile.c_str());
  } else if (url.Protocol == TPublishProtocol::ppFtps) {
    curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_CAINFO, options.CAFile.c_str());
  }
  curl_easy_setopt(
      curl, CURLOPT_WRITEFUNCTION, +[](char* data, size_t size, size_t count, void* user) {
        static_cast<std::string*>(user)->append(data, size * count);
        return size * count;
      });
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &contents);
  const CURLcode code = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  return code == CURLE_OK;
}

// An sshd of the test's own on another port (same keys and user as the shared one), which the
// test can stop in the middle of a publish and start again.
class TPrivateSshd {
 public:
  // folder: where its configuration and log go (an existing folder, with its delimiter).
  TPrivateSshd(int port, const std::string& folder) : port_(port), folder_(folder) {
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    config_ = folder_ + "sshd_config";
    std::string text = ReadText(kServersState + "sshd_config");
    const std::string shared = "ListenAddress 127.0.0.1:" + std::to_string(kSftpPort);
    text.replace(text.find(shared), shared.size(), "ListenAddress 127.0.0.1:" + std::to_string(port));
    const size_t pid = text.find("PidFile ");
    text.replace(pid, text.find('\n', pid) - pid, "PidFile none");
    WriteBytes(config_, text);
    // Its host key is known for its own port.
    knownHosts_ = folder_ + "known_hosts";
    const std::string line = ReadText(kServersState + "known_hosts");
    WriteBytes(knownHosts_, "[127.0.0.1]:" + std::to_string(port) + line.substr(line.find(' ')));
  }
  const std::string& KnownHostsFile() const { return knownHosts_; }
  ~TPrivateSshd() { Stop(); }

  // Starts it (again) and waits until it listens.
  bool Start() {
    Stop();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execl("/usr/sbin/sshd", "/usr/sbin/sshd", "-D", "-f", config_.c_str(), "-E",
              (folder_ + "sshd.log").c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 100; ++i) {
      if (Listening()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // Kills it and every session it serves, as a crashed or switched-off server ends.
  void Stop() {
    if (pid_ <= 0) return;
    // The listener and its descendants (each session runs in processes of its own).
    std::set<int> doomed{pid_};
    for (size_t before = 0; before != doomed.size();) {
      before = doomed.size();
      for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = ReadText(entry.path().string() + "/stat");
        const size_t close = stat.rfind(')');
        if (close != std::string::npos && close + 4 < stat.size() &&
            doomed.count(std::atoi(stat.c_str() + close + 4)))
          doomed.insert(std::stoi(name));
      }
    }
    for (int pid : doomed) ::kill(pid, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    // The sessions' processes come to this process (a subreaper) to be reaped.
    for (int i = 0; i < 50 && ::waitpid(-1, nullptr, WNOHANG) >= 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    pid_ = 0;
  }

 private:
  bool Listening() const {
    const std::string probe =
        "bash -c 'exec 3<>/dev/tcp/127.0.0.1/" + std::to_string(port_) + "' 2>/dev/null";
    return std::system(probe.c_str()) == 0;
  }
  int port_;
  std::string folder_;
  std::string config_;
  std::string knownHosts_;
  pid_t pid_ = 0;
};

}  // namespace pagolin::testing
