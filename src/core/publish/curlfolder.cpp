#include "core/publish/curlfolder.h"

#include <curl/curl.h>
#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <set>

#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "core/publish/knownhosts.h"

namespace pagolin {
namespace {

struct TSlistFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using TSlist = std::unique_ptr<curl_slist, TSlistFree>;

struct TFileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

TSlist Commands(const std::vector<std::string>& commands) {
  curl_slist* list = nullptr;
  for (const std::string& command : commands) list = curl_slist_append(list, command.c_str());
  return TSlist(list);
}

std::string Base64Decoded(const char* text) {
  const size_t size = std::strlen(text);
  std::string bytes(3 * (size / 4) + 3, '\0');
  const int got = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                  reinterpret_cast<const unsigned char*>(text), static_cast<int>(size));
  if (got < 0) return {};
  bytes.resize(static_cast<size_t>(got));
  while (size > 0 && text[size - 1] == '=' && !bytes.empty() && bytes.back() == '\0') bytes.pop_back();
  return bytes;
}

// A line break in a name would end the server command early and start another one.
void RefuseLineBreaks(const std::string& name) {
  if (name.find_first_of("\r\n") != std::string::npos)
    throw EPublishError("\"" + PathText(name) + "\" cannot be published: its name holds a line break.");
}

}  // namespace

// One connection to the server, with the request it runs.
struct TCurlConnection {
  TCurlFolder::TImpl* folder = nullptr;
  CURL* curl = nullptr;
  char errorBuffer[CURL_ERROR_SIZE] = {};
  std::string received;                         // what a listing brought
  std::function<void(std::int64_t)> progress;   // of the upload under way
  std::unique_ptr<std::FILE, TFileClose> file;  // the file going up
  TSlist commands;                              // the commands after it
  std::size_t job = 0;

  TCurlConnection() = default;
  TCurlConnection(const TCurlConnection&) = delete;
  TCurlConnection& operator=(const TCurlConnection&) = delete;
  ~TCurlConnection() {
    if (curl) curl_easy_cleanup(curl);
  }
};

struct TCurlFolder::TImpl {
  TPublishUrl url;
  TConnectionOptions options;
  std::string hostKeyProblem;          // why the key callback refused, for the message
  std::set<std::string> acceptedKeys;  // fingerprints accepted in this run
  // The first serves single requests; StoreAll adds more, once the first is in.
  std::vector<std::unique_ptr<TCurlConnection>> connections;

  bool Sftp() const { return url.Protocol == TPublishProtocol::ppSftp; }
  std::string Server() const { return ServerName(url); }
  std::unique_ptr<TCurlConnection> Connection();
  TCurlConnection& First() { return *connections.front(); }
  // Sets up the next request of c on address: an upload of c.file (when set), or none; then the
  // commands.
  void Prepare(TCurlConnection& c, const std::string& address, std::int64_t size,
               const std::vector<std::string>& commands, bool listing = false);
  CURLcode Perform(TCurlConnection& c, const std::string& address, const std::vector<std::string>& commands,
                   bool listing = false);
  std::string Failure(const TCurlConnection& c, CURLcode code, const std::string& what) const;
  int CheckHostKey(const curl_khkey* found, curl_khmatch match);
  // The commands that rename from to to (and, with replace, delete to first).
  std::vector<std::string> RenameCommands(const std::string& from, const std::string& to, bool replace) const;

  static size_t CollectListing(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
  }
  static int OnTransferProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent) {
    auto* c = static_cast<TCurlConnection*>(user);
    if (c->progress) c->progress(static_cast<std::int64_t>(sent));
    ProcessMessages();
    return 0;
  }
  static int OnHostKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match, void* user) {
    return static_cast<TImpl*>(user)->CheckHostKey(found, match);
  }
};

int TCurlFolder::TImpl::CheckHostKey(const curl_khkey* found, curl_khmatch match) {
  const std::string blob = found->len > 0 ? std::string(found->key, found->len) : Base64Decoded(found->key);
  const std::string fingerprint = HostKeyFingerprint(blob);
  if (match == CURLKHMATCH_OK || acceptedKeys.count(fingerprint)) return CURLKHSTAT_FINE;
  if (match == CURLKHMATCH_MISMATCH) {
    hostKeyProblem = "The host key of " + Server() + " is not the one known for it (the server now shows " +
                     fingerprint +
                     "), so nothing was sent: the connection may be listened in on. If the "
                     "server's key was changed on purpose, remove its old line from " +
                     PathText(options.KnownHostsFile) + ".";
    return CURLKHSTAT_REJECT;
  }
  if (!options.AcceptNewHostKey || !options.AcceptNewHostKey(Server(), fingerprint)) {
    hostKeyProblem =
        "The host key of " + Server() + " is not known (" + fingerprint +
        "), so nothing was sent. Check the fingerprint with the server's owner, then add the key to " +
        (options.KnownHostsFile.empty() ? std::string("~/.ssh/known_hosts")
                                        : PathText(options.KnownHostsFile)) +
        " (for example by connecting once with ssh).";
    return CURLKHSTAT_REJECT;
  }
  acceptedKeys.insert(fingerprint);
  std::string error;
  if (!options.KnownHostsFile.empty() &&
      !AddKnownHost(options.KnownHostsFile, KnownHostsLine(url.Host, url.Port, blob), error))
    ShowMessage(error);  // trusted for this run all the same
  return CURLKHSTAT_FINE;
}

std::unique_ptr<TCurlConnection> TCurlFolder::TImpl::Connection() {
  auto c = std::make_unique<TCurlConnection>();
  c->folder = this;
  c->curl = curl_easy_init();
  if (!c->curl) throw EPublishError("The network library cannot be started.");
  CURL* curl = c->curl;
  curl_easy_setopt(curl, CURLOPT_PRIVATE, c.get());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, c->errorBuffer);
  curl_easy_setopt(curl, CURLOPT_USERNAME, options.User.c_str());
  if (!options.Password.empty()) curl_easy_setopt(curl, CURLOPT_PASSWORD, options.Password.c_str());
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, options.ConnectTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, options.StallTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnTransferProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, c.get());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, CollectListing);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &c->received);
  if (Sftp()) {
    long methods = 0;
    if (!options.PrivateKeyFile.empty()) {
      methods |= CURLSSH_AUTH_PUBLICKEY;
      curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, options.PrivateKeyFile.c_str());
      curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE, "");  // derived from the private key
      if (!options.Password.empty()) curl_easy_setopt(curl, CURLOPT_KEYPASSWD, options.Password.c_str());
    }
    if (options.UseAgent) methods |= CURLSSH_AUTH_AGENT;
    if (!options.Password.empty()) methods |= CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
    curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, methods ? methods : static_cast<long>(CURLSSH_AUTH_AGENT));
    // Without a file nothing is trusted: every key is asked about.
    curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS,
                     options.KnownHostsFile.empty() ? "/dev/null" : options.KnownHostsFile.c_str());
    curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, OnHostKey);
    curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, this);
  } else if (url.Protocol == TPublishProtocol::ppFtps) {
    curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    // TLS 1.2 and no other: FTP servers' TLS 1.3 is patchy (Debian's vsftpd breaks off uploads
    // over it after a hundred KB), and older versions are not safe.
    const long tls12 = CURL_SSLVERSION_TLSv1_2;
    curl_easy_setopt(curl, CURLOPT_SSLVERSION, tls12 | tls12 << 16);  // at least and at most (MAX_TLSv1_2)
    if (!options.CAFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, options.CAFile.c_str());
  } else {
    curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
  }
  return c;
}

void TCurlFolder::TImpl::Prepare(TCurlConnection& c, const std::string& address, std::int64_t size,
                                 const std::vector<std::string>& commands, bool listing) {
  CURL* curl = c.curl;
  c.commands = Commands(commands);
  c.errorBuffer[0] = '\0';
  c.received.clear();
  hostKeyProblem.clear();
  std::FILE* file = c.file.get();
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_UPLOAD, file ? 1L : 0L);
  // Only an upload makes the folder; looking at it leaves the server as it is.
  curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS,
                   static_cast<long>(file ? CURLFTP_CREATE_DIR_RETRY : CURLFTP_CREATE_DIR_NONE));
  curl_easy_setopt(curl, CURLOPT_READDATA, file);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(file ? size : -1));
  curl_easy_setopt(curl, CURLOPT_NOBODY, file || listing ? 0L : 1L);
  curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, listing ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_POSTQUOTE, c.commands.get());
}

CURLcode TCurlFolder::TImpl::Perform(TCurlConnection& c, const std::string& address,
                                     const std::vector<std::string>& commands, bool listing) {
  c.file.reset();
  Prepare(c, address, 0, commands, listing);
  return curl_easy_perform(c.curl);
}

std::vector<std::string> TCurlFolder::TImpl::RenameCommands(const std::string& from, const std::string& to,
                                                            bool replace) const {
  if (Sftp()) {
    std::vector<std::string> commands;
    if (replace) commands.push_back("rm " + SftpCommandPath(url, to));
    commands.push_back("rename " + SftpCommandPath(url, from) + " " + SftpCommandPath(url, to));
    return commands;
  }
  std::vector<std::string> commands;
  if (replace) commands.push_back("DELE " + to);
  commands.push_back("RNFR " + from);
  commands.push_back("RNTO " + to);
  return commands;
}

std::string TCurlFolder::TImpl::Failure(const TCurlConnection& c, CURLcode code,
                                        const std::string& what) const {
  const std::string detail =
      c.errorBuffer[0] ? std::string(c.errorBuffer) : std::string(curl_easy_strerror(code));
  const std::string server = Server();
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return "The server name \"" + url.Host + "\" cannot be found (" + detail + ").";
    case CURLE_COULDNT_CONNECT: return "Cannot connect to " + server + " (" + detail + ").";
    case CURLE_OPERATION_TIMEDOUT: return server + " did not answer in time (" + detail + ").";
    case CURLE_LOGIN_DENIED:
      return server + " refused the login of user \"" + options.User + "\" (" + detail +
             "). Check the user name in the settings and the password or key.";
    case CURLE_PEER_FAILED_VERIFICATION:
      if (!hostKeyProblem.empty()) return hostKeyProblem;
      return "The certificate of " + server + " cannot be trusted (" + detail + "), so nothing was sent.";
    case CURLE_USE_SSL_FAILED:
      return server + " does not offer TLS (" + detail +
             "). Only choose ftp:// in the settings if the site may travel unencrypted.";
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE: return "TLS with " + server + " failed (" + detail + ").";
    case CURLE_SSH:
      if (!hostKeyProblem.empty()) return hostKeyProblem;
      return "The SSH connection to " + server + " failed (" + detail + ").";
    default: return what + " on " + server + " failed (" + detail + ").";
  }
}

TCurlFolder::TCurlFolder(TPublishUrl url, TConnectionOptions options) : impl_(std::make_unique<TImpl>()) {
  static std::once_flag started;
  std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  impl_->url = std::move(url);
  impl_->options = std::move(options);
  impl_->connections.push_back(impl_->Connection());
}

TCurlFolder::~TCurlFolder() = default;

void TCurlFolder::Store(const std::string& localPath, const std::string& name, std::int64_t size,
                        const TByteProgress& progress) {
  StoreAll(
      {{localPath, name, size}}, [] { return true; },
      [&](std::size_t, std::int64_t sent) {
        if (progress) progress(sent);
      },
      [](std::size_t) {});
}

namespace {

// The jobs of StoreAll that are under way on a multi handle, removed from it in any case.
class TMultiTransfers {
 public:
  TMultiTransfers() : multi_(curl_multi_init()) {}
  ~TMultiTransfers() {
    for (CURL* easy : running_) curl_multi_remove_handle(multi_, easy);
    curl_multi_cleanup(multi_);
  }
  TMultiTransfers(const TMultiTransfers&) = delete;
  TMultiTransfers& operator=(const TMultiTransfers&) = delete;
  CURLM* Multi() const { return multi_; }
  void Add(CURL* easy) {
    curl_multi_add_handle(multi_, easy);
    running_.insert(easy);
  }
  void Remove(CURL* easy) {
    curl_multi_remove_handle(multi_, easy);
    running_.erase(easy);
  }
  bool Empty() const { return running_.empty(); }

 private:
  CURLM* multi_;
  std::set<CURL*> running_;
};

// A failure of a connection as such, not of the file it carried: the server took no more
// connections, or this one broke.
bool ConnectionFailed(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_CONNECT:
    case CURLE_LOGIN_DENIED:
    case CURLE_SSH:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_WEIRD_PASV_REPLY: return true;
    default: return false;
  }
}

// Connections a publish uses at most: round trips overlap, and most servers allow as many.
constexpr std::size_t kConnections = 4;

}  // namespace

void TCurlFolder::StoreAll(const std::vector<TStoreJob>& jobs, const std::function<bool()>& proceed,
                           const std::function<void(std::size_t job, std::int64_t sent)>& progress,
                           const std::function<void(std::size_t job)>& done) {
  for (const TStoreJob& job : jobs) RefuseLineBreaks(job.Name);
  TImpl& m = *impl_;
  TMultiTransfers transfers;
  std::deque<std::size_t> waiting;
  for (std::size_t i = 0; i < jobs.size(); ++i) waiting.push_back(i);
  std::vector<TCurlConnection*> idle{&m.First()};
  // More connections only once the first has logged in and stored a file: a refused login or
  // host key is then asked about and reported once.
  bool more = false;
  std::string failure;
  const auto start = [&](TCurlConnection& c, std::size_t job) {
    const TStoreJob& j = jobs[job];
    c.job = job;
    c.file.reset(std::fopen(j.LocalPath.c_str(), "rb"));
    if (!c.file) {
      failure = "\"" + PathText(j.LocalPath) + "\" cannot be read: " + std::strerror(errno);
      idle.push_back(&c);
      return;
    }
    c.progress = [&progress, job](std::int64_t sent) { progress(job, sent); };
    const std::string temporary = TemporaryName(j.Name);
    m.Prepare(c, CurlUrl(m.url, temporary), j.Size, m.RenameCommands(temporary, j.Name, false));
    progress(job, 0);
    transfers.Add(c.curl);
  };
  while (true) {
    while (failure.empty() && !waiting.empty() && proceed()) {
      TCurlConnection* c = nullptr;
      if (!idle.empty()) {
        c = idle.back();
        idle.pop_back();
      } else if (more && m.connections.size() < kConnections) {
        m.connections.push_back(m.Connection());
        c = m.connections.back().get();
      } else {
        break;
      }
      start(*c, waiting.front());
      waiting.pop_front();
    }
    if (transfers.Empty()) break;
    int stillRunning = 0;
    curl_multi_perform(transfers.Multi(), &stillRunning);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(transfers.Multi(), &left)) {
      if (message->msg != CURLMSG_DONE) continue;
      CURL* easy = message->easy_handle;
      CURLcode code = message->data.result;
      TCurlConnection* c = nullptr;
      curl_easy_getinfo(easy, CURLINFO_PRIVATE, &c);
      transfers.Remove(easy);
      c->file.reset();
      c->progress = nullptr;
      const TStoreJob& j = jobs[c->job];
      const std::string temporary = TemporaryName(j.Name);
      // A server that renames only onto a free name (OpenSSH's SFTP, some FTP servers): the
      // old file goes first, and for that moment the name is missing rather than half written.
      if (code == CURLE_QUOTE_ERROR)
        code = m.Perform(*c, CurlUrl(m.url, ""), m.RenameCommands(temporary, j.Name, true));
      if (code == CURLE_OK) {
        idle.push_back(c);
        more = true;
        done(c->job);
      } else if (c != &m.First() && ConnectionFailed(code)) {
        // An added connection the server refused or lost: its file goes by the others.
        waiting.push_front(c->job);
        more = false;
        std::erase_if(m.connections, [c](const auto& owned) { return owned.get() == c; });
      } else if (failure.empty()) {
        failure = m.Failure(*c, code, "Uploading \"" + PathText(j.Name) + "\"");
      }
    }
    if (!transfers.Empty()) curl_multi_poll(transfers.Multi(), nullptr, 0, 1000, nullptr);
  }
  if (!failure.empty()) throw EPublishError(failure);
}

void TCurlFolder::Remove(const std::string& name) {
  RefuseLineBreaks(name);
  TImpl& m = *impl_;
  const std::vector<std::string> command{m.Sftp() ? "rm " + SftpCommandPath(m.url, name) : "DELE " + name};
  const CURLcode code = m.Perform(m.First(), CurlUrl(m.url, ""), command);
  if (code != CURLE_OK)
    throw EPublishError(m.Failure(m.First(), code, "Deleting \"" + PathText(name) + "\""));
}

std::vector<std::string> TCurlFolder::List() {
  TImpl& m = *impl_;
  TCurlConnection& c = m.First();
  const CURLcode code = m.Perform(c, CurlUrl(m.url, ""), {}, true);
  if (code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_REMOTE_ACCESS_DENIED)
    throw ERemoteFolderMissing("The folder \"" + PathText(m.url.Folder) + "\" does not exist on " +
                               m.Server() + " or cannot be entered.");
  if (code != CURLE_OK) throw EPublishError(m.Failure(c, code, "Listing the folder"));
  std::vector<std::string> names;
  size_t start = 0;
  while (start < c.received.size()) {
    size_t end = c.received.find('\n', start);
    if (end == std::string::npos) end = c.received.size();
    std::string line = c.received.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = ExtractFileName(line);
    if (!line.empty() && line != "." && line != "..") names.push_back(line);
  }
  return names;
}

std::string DefaultPrivateKeyFile() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return {};
  for (const char* name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
    const std::string file = IncludeTrailingPathDelimiter(home) + ".ssh" + PathDelim + name;
    if (FileExists(file)) return file;
  }
  return {};
}

}  // namespace pagolin
