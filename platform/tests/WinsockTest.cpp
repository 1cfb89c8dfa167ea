// Winsock over BSD sockets: loopback traffic, error numbers, wake-ups on close, look-ups.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/PosixNet.h"
#include "platform/win32.h"

namespace {

using std::chrono::seconds;

sockaddr_in loopback(u_short port) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = inet_addr("127.0.0.1");
  return address;
}

u_short localPort(SOCKET s) {
  sockaddr_in address;
  int length = sizeof address;
  if (getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

// A listening socket on 127.0.0.1 with a port the kernel picked.
SOCKET listenOnLoopback(u_short* port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 4) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  *port = localPort(s);
  return s;
}

SOCKET connectTo(u_short port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(port);
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

// A connected pair over loopback: client and the server side accepted for it.
struct Pair {
  SOCKET listener = INVALID_SOCKET;
  SOCKET client = INVALID_SOCKET;
  SOCKET server = INVALID_SOCKET;
  Pair() {
    u_short port = 0;
    listener = listenOnLoopback(&port);
    client = connectTo(port);
    server = accept(listener, nullptr, nullptr);
  }
  ~Pair() {
    for (SOCKET s : {listener, client, server}) {
      if (s != INVALID_SOCKET) closesocket(s);
    }
  }
};

TEST(WinsockTest, StartupReportsVersions) {
  WSADATA data;
  ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
  EXPECT_EQ(MAKEWORD(2, 2), data.wVersion);
  EXPECT_EQ(MAKEWORD(2, 2), data.wHighVersion);
  ASSERT_EQ(0, WSAStartup(MAKEWORD(1, 1), &data));
  EXPECT_EQ(MAKEWORD(1, 1), data.wVersion);
  ASSERT_EQ(0, WSAStartup(MAKEWORD(3, 0), &data));
  EXPECT_EQ(MAKEWORD(2, 2), data.wVersion);
  EXPECT_EQ(WSAEFAULT, WSAStartup(MAKEWORD(2, 2), nullptr));
  EXPECT_EQ(0, WSACleanup());
}

TEST(WinsockTest, RecordsKeepTheirLayout) {
  EXPECT_EQ(8u, sizeof(SOCKET));
  EXPECT_EQ(16u, sizeof(sockaddr));
  EXPECT_EQ(16u, sizeof(sockaddr_in));
  EXPECT_EQ(4u, sizeof(in_addr));
  in_addr address;
  address.s_addr = inet_addr("10.20.30.40");
  EXPECT_EQ(10, address.S_un.S_un_b.s_b1);
  EXPECT_EQ(40, address.S_un.S_un_b.s_b4);
  EXPECT_EQ(address.s_addr, address.S_un.S_addr);
}

TEST(WinsockTest, ByteOrderAndAddressTexts) {
  u_short port = htons(0x1234);
  EXPECT_EQ(0x12, reinterpret_cast<BYTE*>(&port)[0]);
  EXPECT_EQ(0x1234, ntohs(port));
  ULONG value = htonl(0x01020304u);
  EXPECT_EQ(0x01, reinterpret_cast<BYTE*>(&value)[0]);
  EXPECT_EQ(0x04, reinterpret_cast<BYTE*>(&value)[3]);
  EXPECT_EQ(0x01020304u, ntohl(value));

  EXPECT_EQ(htonl(INADDR_LOOPBACK), inet_addr("127.0.0.1"));
  EXPECT_EQ(htonl(INADDR_LOOPBACK), inet_addr("127.1"));
  for (const char* bad : {"", "1.2.3.256", "host.example", "1.2.3.4.5"}) {
    EXPECT_EQ(INADDR_NONE, inet_addr(bad)) << bad;
  }
  EXPECT_EQ(INADDR_NONE, inet_addr(nullptr));

  in_addr address;
  address.s_addr = inet_addr("192.168.7.254");
  EXPECT_STREQ("192.168.7.254", inet_ntoa(address));
}

TEST(WinsockTest, InetNtoaBufferIsPerThread) {
  in_addr mine;
  mine.s_addr = inet_addr("1.2.3.4");
  const char* text = inet_ntoa(mine);
  std::thread([] {
    in_addr other;
    other.s_addr = inet_addr("5.6.7.8");
    inet_ntoa(other);
  }).join();
  EXPECT_STREQ("1.2.3.4", text);
}

TEST(WinsockTest, LoopbackTrafficBothWays) {
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.client);
  ASSERT_NE(INVALID_SOCKET, pair.server);

  sockaddr_in peer;
  int length = sizeof peer;
  ASSERT_EQ(0, getpeername(pair.server, reinterpret_cast<sockaddr*>(&peer), &length));
  EXPECT_STREQ("127.0.0.1", inet_ntoa(peer.sin_addr));
  EXPECT_EQ(localPort(pair.client), ntohs(peer.sin_port));

  ASSERT_EQ(5, send(pair.client, "hello", 5, 0));
  char buffer[16] = {0};
  ASSERT_EQ(5, recv(pair.server, buffer, sizeof buffer, 0));
  EXPECT_EQ(std::string("hello"), std::string(buffer, 5));
  ASSERT_EQ(3, send(pair.server, "abc", 3, 0));
  ASSERT_EQ(3, recv(pair.client, buffer, 3, MSG_PEEK));
  ASSERT_EQ(3, recv(pair.client, buffer, 3, MSG_WAITALL));
  EXPECT_EQ(std::string("abc"), std::string(buffer, 3));

  // The client's half-close reads as an orderly end on the other side.
  ASSERT_EQ(0, shutdown(pair.client, SD_SEND));
  EXPECT_EQ(0, recv(pair.server, buffer, sizeof buffer, 0));
}

TEST(WinsockTest, AcceptReportsThePeerAddress) {
  u_short port = 0;
  SOCKET listener = listenOnLoopback(&port);
  ASSERT_NE(0, port);
  SOCKET client = connectTo(port);
  sockaddr_in from;
  int length = sizeof from;
  SOCKET server = accept(listener, reinterpret_cast<sockaddr*>(&from), &length);
  ASSERT_NE(INVALID_SOCKET, server);
  EXPECT_EQ(static_cast<int>(sizeof from), length);
  EXPECT_EQ(AF_INET, from.sin_family);
  EXPECT_EQ(inet_addr("127.0.0.1"), from.sin_addr.s_addr);
  EXPECT_EQ(localPort(client), ntohs(from.sin_port));
  for (SOCKET s : {listener, client, server}) closesocket(s);
}

TEST(WinsockTest, RefusedPortGivesConnectionRefused) {
  SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  ASSERT_EQ(0, bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address));
  u_short freePort = localPort(probe);
  closesocket(probe);

  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  address = loopback(freePort);
  EXPECT_EQ(SOCKET_ERROR, connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address));
  EXPECT_EQ(WSAECONNREFUSED, WSAGetLastError());
  closesocket(s);
}

TEST(WinsockTest, CloseWakesARecvBlockedInAnotherThread) {
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.client);
  std::promise<void> entered;
  auto result = std::async(std::launch::async, [&] {
    char buffer[8];
    entered.set_value();
    return recv(pair.client, buffer, sizeof buffer, 0);
  });
  entered.get_future().wait();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_EQ(0, closesocket(pair.client));
  pair.client = INVALID_SOCKET;
  ASSERT_EQ(std::future_status::ready, result.wait_for(seconds(5)));
  EXPECT_LE(result.get(), 0);
}

TEST(WinsockTest, CloseWakesAnAcceptBlockedInAnotherThread) {
  u_short port = 0;
  SOCKET listener = listenOnLoopback(&port);
  ASSERT_NE(INVALID_SOCKET, listener);
  auto result = std::async(std::launch::async, [&] { return accept(listener, nullptr, nullptr); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_EQ(0, closesocket(listener));
  ASSERT_EQ(std::future_status::ready, result.wait_for(seconds(5)));
  EXPECT_EQ(INVALID_SOCKET, result.get());
}

TEST(WinsockTest, SendingToAResetPeerIsAnErrorNotASignal) {
  // Default disposition: a SIGPIPE would end this test program.
  std::signal(SIGPIPE, SIG_DFL);
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.server);
  // Closing with unread data makes the peer reset the connection.
  ASSERT_EQ(4, send(pair.client, "data", 4, 0));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  closesocket(pair.server);
  pair.server = INVALID_SOCKET;

  int result = 0;
  for (int attempt = 0; attempt < 200 && result != SOCKET_ERROR; ++attempt) {
    result = send(pair.client, "more", 4, 0);
    if (result != SOCKET_ERROR) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(SOCKET_ERROR, result);
  EXPECT_EQ(WSAECONNRESET, WSAGetLastError());
}

TEST(WinsockTest, MisuseFailsWithWinsockErrors) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_NE(INVALID_SOCKET, s);
  sockaddr_in address = loopback(0);
  char buffer[4];
  int length = 2;
  struct Case {
    const char* what;
    int result;
    int error;
  };
  std::vector<Case> cases;
  auto check = [&](const char* what, int result) { cases.push_back({what, result, WSAGetLastError()}); };

  check("send without socket", send(INVALID_SOCKET, "x", 1, 0));
  check("recv unconnected", recv(s, buffer, sizeof buffer, 0));
  check("recv negative length", recv(s, buffer, -1, 0));
  check("recv unknown flag", recv(s, buffer, sizeof buffer, 0x4000));
  check("connect short address", connect(s, reinterpret_cast<sockaddr*>(&address), 4));
  check("getsockname short room", getsockname(s, reinterpret_cast<sockaddr*>(&address), &length));
  check("shutdown bad direction", shutdown(s, 7));
  check("setsockopt unknown option", setsockopt(s, SOL_SOCKET, 0x7777, "\1\0\0\0", 4));
  check("setsockopt unknown level", setsockopt(s, 0x1234, SO_KEEPALIVE, "\1\0\0\0", 4));
  check("closesocket without socket", closesocket(INVALID_SOCKET));

  const int expected[] = {WSAENOTSOCK, WSAENOTCONN, WSAEFAULT, WSAEOPNOTSUPP, WSAEFAULT,
                          WSAEFAULT,   WSAEINVAL,   WSAENOPROTOOPT, WSAEINVAL, WSAENOTSOCK};
  ASSERT_EQ(sizeof expected / sizeof expected[0], cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(SOCKET_ERROR, cases[i].result) << cases[i].what;
    EXPECT_EQ(expected[i], cases[i].error) << cases[i].what;
  }

  EXPECT_EQ(INVALID_SOCKET, socket(23, SOCK_STREAM, 0));
  EXPECT_EQ(WSAEAFNOSUPPORT, WSAGetLastError());
  EXPECT_EQ(INVALID_SOCKET, socket(AF_INET, 5, 0));
  EXPECT_EQ(WSAESOCKTNOSUPPORT, WSAGetLastError());
  closesocket(s);
}

TEST(WinsockTest, BindingATakenPortAndConnectingTwice) {
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.client);
  SOCKET other = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(localPort(pair.listener));
  EXPECT_EQ(SOCKET_ERROR, bind(other, reinterpret_cast<sockaddr*>(&address), sizeof address));
  EXPECT_EQ(WSAEADDRINUSE, WSAGetLastError());
  closesocket(other);

  EXPECT_EQ(SOCKET_ERROR, connect(pair.client, reinterpret_cast<sockaddr*>(&address), sizeof address));
  EXPECT_EQ(WSAEISCONN, WSAGetLastError());
}

TEST(WinsockTest, ClosesocketLeavesOtherFilesAlone) {
  FILE* file = std::tmpfile();
  ASSERT_TRUE(file);
  EXPECT_EQ(SOCKET_ERROR, closesocket(static_cast<SOCKET>(fileno(file))));
  EXPECT_EQ(WSAENOTSOCK, WSAGetLastError());
  EXPECT_GE(std::fputs("still open", file), 0);
  EXPECT_EQ(0, std::fflush(file));
  std::fclose(file);
}

TEST(WinsockTest, OptionsReachTheSocket) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  struct Option {
    int level;
    int name;
  };
  for (Option option : {Option{SOL_SOCKET, SO_KEEPALIVE}, Option{SOL_SOCKET, SO_REUSEADDR},
                        Option{IPPROTO_TCP, TCP_NODELAY}}) {
    for (int wanted : {1, 0}) {
      ASSERT_EQ(0, setsockopt(s, option.level, option.name, reinterpret_cast<char*>(&wanted), sizeof wanted));
      int value = -1;
      int length = sizeof value;
      ASSERT_EQ(0, getsockopt(s, option.level, option.name, reinterpret_cast<char*>(&value), &length));
      EXPECT_EQ(wanted, value) << option.level << "/" << option.name;
    }
  }
  closesocket(s);
}

TEST(WinsockTest, LookUpGivesAnIpv4Entry) {
  hostent* entry = gethostbyname("127.0.0.1");
  ASSERT_TRUE(entry);
  EXPECT_EQ(AF_INET, entry->h_addrtype);
  EXPECT_EQ(4, entry->h_length);
  ASSERT_TRUE(entry->h_aliases);
  EXPECT_EQ(nullptr, entry->h_aliases[0]);
  ASSERT_TRUE(entry->h_addr);
  EXPECT_EQ(0, std::memcmp(entry->h_addr, "\x7f\0\0\x01", 4));
  EXPECT_EQ(nullptr, entry->h_addr_list[1]);

  char name[256];
  ASSERT_EQ(0, gethostname(name, sizeof name));
  EXPECT_GT(std::strlen(name), 0u);
  EXPECT_EQ(SOCKET_ERROR, gethostname(name, 1));
  EXPECT_EQ(WSAEFAULT, WSAGetLastError());
}

TEST(WinsockTest, ReservedInvalidNamesFailAtOnce) {
  for (const char* name : {"no-such-host.invalid", "NO-SUCH.INVALID.", "invalid"}) {
    WSASetLastError(0);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(nullptr, gethostbyname(name)) << name;
    EXPECT_EQ(WSAHOST_NOT_FOUND, WSAGetLastError()) << name;
    EXPECT_LT(std::chrono::steady_clock::now() - started, seconds(1)) << name;
  }
}

TEST(WinsockTest, LookUpsFromManyThreadsKeepTheirOwnAnswers) {
  const char* names[] = {"127.0.0.1", "localhost"};
  std::vector<std::future<int>> workers;
  for (int t = 0; t < 8; ++t) {
    workers.push_back(std::async(std::launch::async, [&names, t] {
      int faults = 0;
      const char* name = names[t % 2];
      for (int i = 0; i < 200; ++i) {
        hostent* entry = gethostbyname(name);
        if (!entry) return -1;
        std::this_thread::yield();
        bool same = std::strcmp(entry->h_name, name) == 0 &&
                    std::memcmp(entry->h_addr_list[0], "\x7f\0\0\x01", 4) == 0;
        faults += same ? 0 : 1;
      }
      return faults;
    }));
  }
  for (auto& worker : workers) EXPECT_EQ(0, worker.get());
}

TEST(WinsockTest, SystemErrorsMapToWinsockNumbers) {
  const int table[][2] = {
      {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},    {ENETUNREACH, 10051},     {EHOSTUNREACH, 10065},
      {ENETDOWN, 10050},     {ECONNRESET, 10054},   {EPIPE, 10054},           {EISCONN, 10056},
      {EALREADY, 10037},     {EINPROGRESS, 10036},  {EWOULDBLOCK, 10035},     {EAGAIN, 10035},
      {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049}, {EAFNOSUPPORT, 10047},   {EFAULT, 10014},
      {EMFILE, 10024},       {ENFILE, 10024},       {ENOBUFS, 10055},         {ENOMEM, 10055},
      {EPROTOTYPE, 10041},   {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EBADF, 10038},
      {ENOTSOCK, 10038},     {EINTR, 10004},        {EINVAL, 10022},          {ENOTCONN, 10057},
      {ESHUTDOWN, 10058},    {ECONNABORTED, 10053},
  };
  for (const auto& row : table) {
    EXPECT_EQ(row[1], vornplatform::wsaErrorFromErrno(row[0])) << "errno " << row[0];
  }
  // Nothing ever claims the start-up was missing.
  for (int e = 0; e < 200; ++e) EXPECT_NE(WSANOTINITIALISED, vornplatform::wsaErrorFromErrno(e));
}

}  // namespace
