#include "core/net/tcpip.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/nntp_peer.h"

namespace pagolin {
namespace {

using test::TPeer;
using test::TTestServer;

struct TraceLog {
  std::vector<std::pair<std::string, TTraceLevel>> lines;
  TTraceProc Proc() {
    return [this](const std::string& s, TTraceLevel level) { lines.emplace_back(s, level); };
  }
  bool Has(const std::string& text) const {
    for (const auto& l : lines) {
      if (l.first == text) return true;
    }
    return false;
  }
};

// A port on 127.0.0.1 that nobody listens on.
std::uint16_t ClosedPort() {
  TTestServer server([](TPeer&) {}, 0);
  return server.Port();
}

TEST(TcpIp, LoginTracesTheOpenedSocketAndLogoutTheClosing) {
  TTestServer server([](TPeer& peer) { peer.WaitForClose(); });
  T_TcpIp client;
  TraceLog log;
  client.OnTrace = log.Proc();
  client.Hostname = "127.0.0.1";
  client.SetPort(server.Port());
  client.Login();
  const int id = client.Socket();
  ASSERT_NE(id, kNoSocket);
  EXPECT_TRUE(client.LoggedIn());
  EXPECT_EQ(client.SocketState(client.Socket()), 2);
  client.Logout();
  EXPECT_FALSE(client.LoggedIn());
  EXPECT_EQ(client.Socket(), kNoSocket);
  EXPECT_EQ(client.SocketState(client.Socket()), 0);
  ASSERT_EQ(log.lines.size(), 2u);
  EXPECT_EQ(log.lines[0].first, "Opened output socket " + std::to_string(server.Port()) +
                                    " to host 127.0.0.1 successfully; ID " + std::to_string(id));
  EXPECT_EQ(log.lines[0].second, TTraceLevel::tlSocket);
  EXPECT_EQ(log.lines[1].first, "Closed socket ID " + std::to_string(id));
}

TEST(TcpIp, LoginTwiceClosesTheFirstConnectionFirst) {
  TTestServer server([](TPeer& peer) { peer.WaitForClose(); }, 2);
  T_TcpIp client;
  TraceLog log;
  client.OnTrace = log.Proc();
  client.Hostname = "localhost";
  client.SetPort(server.Port());
  client.Login();
  const int first = client.Socket();
  client.Login();
  ASSERT_GE(log.lines.size(), 3u);
  EXPECT_EQ(log.lines[1].first, "Closed socket ID " + std::to_string(first));
  EXPECT_EQ(log.lines[2].first.rfind("Opened output socket ", 0), 0u);
  EXPECT_TRUE(client.LoggedIn());
  client.Logout();
  server.Received();
  EXPECT_EQ(server.Served(), 2);
}

TEST(TcpIp, UnresolvableOrEmptyHostRaisesTcpIpErrorAndStaysIdle) {
  T_TcpIp client;
  client.SetPort(119);
  client.Hostname = "";
  try {
    client.Login();
    FAIL() << "no error";
  } catch (const ESocketError&) {
    FAIL() << "wrong class";
  } catch (const ETcpIpError& e) {
    EXPECT_STREQ(e.what(), "Couldn't resolve hostname ");
  }
  EXPECT_FALSE(client.LoggedIn());
  EXPECT_EQ(client.Socket(), kNoSocket);
}

TEST(TcpIp, RefusedConnectionRaisesSocketErrorWithTheSystemError) {
  T_TcpIp client;
  TraceLog log;
  client.OnTrace = log.Proc();
  client.Hostname = "127.0.0.1";
  const std::uint16_t port = ClosedPort();
  client.SetPort(port);
  try {
    client.Login();
    FAIL() << "no error";
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "Error creating socket");
    EXPECT_EQ(e.ErrorCode, ECONNREFUSED);
  }
  EXPECT_EQ(client.Socket(), kNoSocket);
  EXPECT_FALSE(client.LoggedIn());
  // The socket made for the attempt is closed (and traced) before the failure is traced.
  ASSERT_EQ(log.lines.size(), 2u);
  EXPECT_EQ(log.lines[0].first.rfind("Closed socket ID ", 0), 0u);
  EXPECT_EQ(log.lines[1].first,
            "Failed to open output socket " + std::to_string(port) + " to host 127.0.0.1");
}

TEST(TcpIp, ReadLineDropsCrAnywhereAndKeepsTheValueOfAnUnfinishedLine) {
  TTestServer server([](TPeer& peer) { peer.Send("first line\r\na\rb\nx\r\n\r\nrest without end"); });
  T_TcpIp client;
  client.Hostname = "127.0.0.1";
  client.SetPort(server.Port());
  client.Login();
  std::string line = "untouched";
  client.ReadLine(client.Socket(), line);
  EXPECT_EQ(line, "first line");
  client.ReadLine(client.Socket(), line);
  EXPECT_EQ(line, "ab");
  EXPECT_FALSE(client.Eof(client.Socket()));
  client.ReadLine(client.Socket(), line);
  EXPECT_EQ(line, "x");
  client.ReadLine(client.Socket(), line);
  EXPECT_EQ(line, "");
  line = "untouched";
  client.ReadLine(client.Socket(), line);
  EXPECT_EQ(line, "untouched");
  EXPECT_TRUE(client.Eof(client.Socket()));
  EXPECT_FALSE(client.TimedOut());
}

// The same bytes, however the network cuts them, give the same lines as reading one byte at
// a time would.
TEST(TcpIp, BufferedLinesDoNotDependOnHowTheBytesArrive) {
  const std::string bytes = "200 hello\r\n\r\n.\r\nline with \r inside\r\nlast\r\nunfinished";
  const std::vector<std::string> expected{"200 hello", "", ".", "line with  inside", "last"};
  for (std::size_t chunk : {1u, 2u, 3u, 7u, 64u}) {
    TTestServer server([&](TPeer& peer) {
      for (std::size_t i = 0; i < bytes.size(); i += chunk) {
        peer.Send(bytes.substr(i, chunk));
        usleep(500);
      }
    });
    T_TcpIp client;
    client.Hostname = "127.0.0.1";
    client.SetPort(server.Port());
    client.Login();
    std::vector<std::string> lines;
    while (!client.Eof(client.Socket())) {
      std::string line = "<none>";
      client.ReadLine(client.Socket(), line);
      lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), expected.size() + 1) << "chunk " << chunk;
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]);
    EXPECT_EQ(lines.back(), "<none>");
  }
}

TEST(TcpIp, ReadBufferTakesTheBytesALineReadTookAhead) {
  TTestServer server([](TPeer& peer) { peer.Send("head\r\nbody bytes"); });
  T_TcpIp client;
  client.Hostname = "127.0.0.1";
  client.SetPort(server.Port());
  client.Login();
  std::string line;
  client.ReadLine(client.Socket(), line);
  ASSERT_EQ(line, "head");
  std::string rest;
  while (!client.Eof(client.Socket())) {
    char buffer[4];
    int count = 0;
    client.ReadBuffer(client.Socket(), buffer, count, sizeof buffer);
    if (count > 0) rest.append(buffer, static_cast<std::size_t>(count));
  }
  EXPECT_EQ(rest, "body bytes");
}

TEST(TcpIp, SilentServerEndsTheReadAtTheTimeLimit) {
  TTestServer server([](TPeer& peer) { peer.WaitForClose(); });
  T_TcpIp client;
  client.Hostname = "127.0.0.1";
  client.SetPort(server.Port());
  client.SetTimeout(200);
  client.Login();
  std::string line = "before";
  client.ReadLine(client.Socket(), line);
  EXPECT_EQ(line, "before");
  EXPECT_TRUE(client.TimedOut());
  EXPECT_TRUE(client.Eof(client.Socket()));
  client.Logout();
}

// A server that trickles a byte now and then cannot hold a line read beyond the time limit.
TEST(TcpIp, TheWholeLineMustArriveWithinTheTimeLimit) {
  TTestServer server([](TPeer& peer) {
    for (int i = 0; i < 10; ++i) {
      peer.Send("x");
      usleep(50000);
    }
  });
  T_TcpIp client;
  client.Hostname = "127.0.0.1";
  client.SetPort(server.Port());
  client.SetTimeout(300);
  client.Login();
  std::string line = "before";
  client.ReadLine(client.Socket(), line);
  EXPECT_EQ(line, "before");
  EXPECT_TRUE(client.TimedOut());
  client.Logout();
}

TEST(TcpIp, SendCommandWritesCrLfAndTracesWithout) {
  TTestServer server([](TPeer& peer) { peer.WaitForClose(); });
  T_TcpIp client;
  TraceLog log;
  client.OnTrace = log.Proc();
  client.Hostname = "127.0.0.1";
  client.SetPort(server.Port());
  client.Login();
  client.SendCommand("HELLO");
  client.WriteString(client.Socket(), "raw");
  const int id = client.Socket();
  client.Logout();
  EXPECT_EQ(server.Received(), "HELLO\r\nraw");
  ASSERT_EQ(log.lines.size(), 5u);
  EXPECT_EQ(log.lines[1].first, "Sent 7 bytes on socket ID " + std::to_string(id));
  EXPECT_EQ(log.lines[2].first, "HELLO");
  EXPECT_EQ(log.lines[2].second, TTraceLevel::tlCommand);
  EXPECT_EQ(log.lines[3].first, "Sent 3 bytes on socket ID " + std::to_string(id));
}

TEST(TcpIp, ActionReadsEverythingUntilTheEnd) {
  const std::string data(100000, 'z');
  TTestServer server([&](TPeer& peer) { peer.Send(data); });
  T_TcpIp client;
  TraceLog log;
  client.OnTrace = log.Proc();
  client.Hostname = "127.0.0.1";
  client.SetPort(server.Port());
  client.Action();
  EXPECT_EQ(client.ReceivedData(), data);
  // Every receive is traced with its byte count; together they make up the data.
  std::size_t traced = 0;
  for (const auto& l : log.lines) {
    const std::string prefix = "Received ";
    if (l.first.rfind(prefix, 0) == 0) traced += std::stoul(l.first.substr(prefix.size()));
  }
  EXPECT_EQ(traced, data.size());
}

TEST(TcpIp, CloseSocketOfNoSocketDoesNothing) {
  T_TcpIp client;
  TraceLog log;
  client.OnTrace = log.Proc();
  TSocket none = kNoSocket;
  client.CloseSocket(none);
  EXPECT_EQ(none, kNoSocket);
  EXPECT_TRUE(log.lines.empty());
}

TEST(TcpIp, WorksWithoutATraceReceiver) {
  TTestServer server([](TPeer& peer) { peer.Send("x\r\n"); });
  T_TcpIp client;
  client.Hostname = "127.0.0.1";
  client.SetPort(server.Port());
  client.Login();  // no receiver: must not fail
  std::string line;
  client.ReadLine(client.Socket(), line);
  EXPECT_EQ(line, "x");
  client.Logout();
}

}  // namespace
}  // namespace pagolin
