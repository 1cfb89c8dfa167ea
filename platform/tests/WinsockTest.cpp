// Winsock over BSD sockets: loopback traffic, error numbers, wake-ups on close, look-ups.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <future>
#include <thread>
#include <vector>

#include "platform/PosixNet.h"
#include "platform/win32.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

sockaddr* asAddress(sockaddr_in* address) { return reinterpret_cast<sockaddr*>(address); }

sockaddr_in loopback(u_short port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = inet_addr("127.0.0.1");
  return address;
}

u_short localPort(SOCKET s) {
  sockaddr_in address{};
  int length = sizeof address;
  getsockname(s, asAddress(&address), &length);
  return ntohs(address.sin_port);
}

// The error a failed call left, or 0 when it did not fail (INVALID_SOCKET reads as SOCKET_ERROR).
int errorOf(long long result) { return result == SOCKET_ERROR ? WSAGetLastError() : 0; }

// A listener on 127.0.0.1 with a kernel-chosen port, a client connected to it and the
// server side accepted for that client.
struct Pair {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
  SOCKET client = socket(AF_INET, SOCK_STREAM, 0);
  SOCKET server = INVALID_SOCKET;
  sockaddr_in from{};
  int fromLength = sizeof from;
  Pair() {
    sockaddr_in address = loopback(0);
    bind(listener, asAddress(&address), sizeof address);
    listen(listener, 4);
    address = loopback(localPort(listener));
    if (connect(client, asAddress(&address), sizeof address) == 0) {
      server = accept(listener, asAddress(&from), &fromLength);
    }
  }
  ~Pair() {
    for (SOCKET s : {listener, client, server}) closesocket(s);
  }
};

TEST(WinsockTest, StartupReportsVersions) {
  WSADATA data;
  const WORD asked[][2] = {{MAKEWORD(2, 2), MAKEWORD(2, 2)}, {MAKEWORD(1, 1), MAKEWORD(1, 1)},
                           {MAKEWORD(3, 0), MAKEWORD(2, 2)}};
  for (const auto& row : asked) {
    ASSERT_EQ(0, WSAStartup(row[0], &data));
    EXPECT_EQ(row[1], data.wVersion);
    EXPECT_EQ(MAKEWORD(2, 2), data.wHighVersion);
  }
  EXPECT_EQ(WSAEFAULT, WSAStartup(MAKEWORD(2, 2), nullptr));
}

TEST(WinsockTest, ByteOrderAndAddressTexts) {
  u_short port = htons(0x1234);
  ULONG value = htonl(0x01020304u);
  EXPECT_EQ(0, std::memcmp(&port, "\x12\x34", 2));
  EXPECT_EQ(0, std::memcmp(&value, "\x01\x02\x03\x04", 4));
  EXPECT_EQ(0x1234, ntohs(port));
  EXPECT_EQ(0x01020304u, ntohl(value));

  EXPECT_EQ(htonl(INADDR_LOOPBACK), inet_addr("127.0.0.1"));
  EXPECT_EQ(htonl(INADDR_LOOPBACK), inet_addr("127.1"));
  for (const char* bad : {"", "1.2.3.256", "host.example", "1.2.3.4.5", (const char*)nullptr}) {
    EXPECT_EQ(INADDR_NONE, inet_addr(bad)) << (bad ? bad : "null");
  }
  in_addr address;
  address.s_addr = inet_addr("192.168.7.254");
  EXPECT_EQ(192, address.S_un.S_un_b.s_b1);
  EXPECT_STREQ("192.168.7.254", inet_ntoa(address));
}

TEST(WinsockTest, LoopbackTrafficBothWays) {
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.server);
  EXPECT_EQ(static_cast<int>(sizeof pair.from), pair.fromLength);
  EXPECT_STREQ("127.0.0.1", inet_ntoa(pair.from.sin_addr));
  EXPECT_EQ(localPort(pair.client), ntohs(pair.from.sin_port));

  char buffer[16] = {0};
  ASSERT_EQ(5, send(pair.client, "hello", 5, 0));
  ASSERT_EQ(5, recv(pair.server, buffer, 5, MSG_WAITALL));
  EXPECT_EQ(0, std::memcmp(buffer, "hello", 5));
  ASSERT_EQ(3, send(pair.server, "abc", 3, 0));
  ASSERT_EQ(3, recv(pair.client, buffer, 3, MSG_PEEK | MSG_WAITALL));
  ASSERT_EQ(3, recv(pair.client, buffer, sizeof buffer, 0));
  EXPECT_EQ(0, std::memcmp(buffer, "abc", 3));
  // A half-close reads as an orderly end on the other side.
  ASSERT_EQ(0, shutdown(pair.client, SD_SEND));
  EXPECT_EQ(0, recv(pair.server, buffer, sizeof buffer, 0));
}

TEST(WinsockTest, RefusedPortGivesConnectionRefused) {
  SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  ASSERT_EQ(0, bind(probe, asAddress(&address), sizeof address));
  address = loopback(localPort(probe));
  closesocket(probe);
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_EQ(WSAECONNREFUSED, errorOf(connect(s, asAddress(&address), sizeof address)));
  closesocket(s);
}

TEST(WinsockTest, CloseWakesCallsBlockedInOtherThreads) {
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.server);
  sockaddr_in listening = loopback(localPort(pair.listener));
  char buffer[8];
  auto received = std::async(std::launch::async, [&] { return recv(pair.client, buffer, sizeof buffer, 0); });
  auto accepted = std::async(std::launch::async, [&] { return accept(pair.listener, nullptr, nullptr); });
  std::this_thread::sleep_for(milliseconds(50));
  ASSERT_EQ(0, closesocket(pair.client));
  ASSERT_EQ(0, closesocket(pair.listener));
  pair.client = pair.listener = INVALID_SOCKET;
  // Not woken: fail, then free the threads through their peers so the test ends.
  if (received.wait_for(seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "recv still blocked";
    send(pair.server, "x", 1, 0);
  }
  SOCKET rescue = INVALID_SOCKET;
  if (accepted.wait_for(seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "accept still blocked";
    rescue = socket(AF_INET, SOCK_STREAM, 0);
    connect(rescue, asAddress(&listening), sizeof listening);
  }
  EXPECT_LE(received.get(), 0);
  EXPECT_EQ(INVALID_SOCKET, accepted.get());
  closesocket(rescue);
}

TEST(WinsockTest, SendingToAResetPeerIsAnErrorNotASignal) {
  std::signal(SIGPIPE, SIG_DFL);  // a SIGPIPE would end this program
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.server);
  ASSERT_EQ(4, send(pair.client, "data", 4, 0));
  std::this_thread::sleep_for(milliseconds(20));
  closesocket(pair.server);  // unread data: the peer answers further data with a reset
  pair.server = INVALID_SOCKET;
  int result = 0;
  for (int attempt = 0; attempt < 200 && result != SOCKET_ERROR; ++attempt) {
    std::this_thread::sleep_for(milliseconds(5));
    result = send(pair.client, "more", 4, 0);
  }
  EXPECT_EQ(WSAECONNRESET, errorOf(result));
}

TEST(WinsockTest, MisuseFailsWithWinsockErrors) {
  Pair pair;
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in taken = loopback(localPort(pair.listener));
  char buffer[4];
  int length = 2;
  EXPECT_EQ(WSAENOTSOCK, errorOf(send(INVALID_SOCKET, "x", 1, 0)));
  EXPECT_EQ(WSAENOTSOCK, errorOf(closesocket(INVALID_SOCKET)));
  EXPECT_EQ(WSAENOTCONN, errorOf(recv(s, buffer, sizeof buffer, 0)));
  EXPECT_EQ(WSAEFAULT, errorOf(recv(s, buffer, -1, 0)));
  EXPECT_EQ(WSAEOPNOTSUPP, errorOf(recv(s, buffer, sizeof buffer, 0x4000)));
  EXPECT_EQ(WSAEFAULT, errorOf(connect(s, asAddress(&taken), 4)));
  EXPECT_EQ(WSAEFAULT, errorOf(getsockname(s, asAddress(&taken), &length)));
  EXPECT_EQ(WSAEINVAL, errorOf(shutdown(s, 7)));
  EXPECT_EQ(WSAENOPROTOOPT, errorOf(setsockopt(s, SOL_SOCKET, 0x7777, "\1\0\0\0", 4)));
  EXPECT_EQ(WSAEINVAL, errorOf(setsockopt(s, 0x1234, SO_KEEPALIVE, "\1\0\0\0", 4)));
  EXPECT_EQ(WSAEADDRINUSE, errorOf(bind(s, asAddress(&taken), sizeof taken)));
  EXPECT_EQ(WSAEISCONN, errorOf(connect(pair.client, asAddress(&taken), sizeof taken)));
  EXPECT_EQ(WSAEAFNOSUPPORT, errorOf(socket(23, SOCK_STREAM, 0)));
  EXPECT_EQ(WSAESOCKTNOSUPPORT, errorOf(socket(AF_INET, 5, 0)));
  closesocket(s);
}

TEST(WinsockTest, ClosesocketLeavesOtherFilesAlone) {
  FILE* file = std::tmpfile();
  ASSERT_TRUE(file);
  EXPECT_EQ(WSAENOTSOCK, errorOf(closesocket(static_cast<SOCKET>(fileno(file)))));
  EXPECT_GE(std::fputs("still open", file), 0);
  EXPECT_EQ(0, std::fflush(file));
  std::fclose(file);
}

TEST(WinsockTest, OptionsReachTheSocket) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  const int options[][2] = {{SOL_SOCKET, SO_KEEPALIVE}, {SOL_SOCKET, SO_REUSEADDR}, {IPPROTO_TCP, TCP_NODELAY}};
  for (const auto& option : options) {
    for (int wanted : {1, 0}) {
      ASSERT_EQ(0, setsockopt(s, option[0], option[1], reinterpret_cast<char*>(&wanted), sizeof wanted));
      int value = -1;
      int length = sizeof value;
      ASSERT_EQ(0, getsockopt(s, option[0], option[1], reinterpret_cast<char*>(&value), &length));
      EXPECT_EQ(wanted, value) << option[0] << "/" << option[1];
    }
  }
  closesocket(s);
}

TEST(WinsockTest, LookUps) {
  hostent* entry = gethostbyname("127.0.0.1");
  ASSERT_TRUE(entry);
  EXPECT_EQ(AF_INET, entry->h_addrtype);
  EXPECT_EQ(4, entry->h_length);
  EXPECT_EQ(nullptr, entry->h_aliases[0]);
  EXPECT_EQ(0, std::memcmp(entry->h_addr, "\x7f\0\0\x01", 4));
  EXPECT_EQ(nullptr, entry->h_addr_list[1]);

  // The reserved "invalid" domain fails at once, without asking any resolver.
  for (const char* name : {"no-such-host.invalid", "NO-SUCH.INVALID.", "invalid"}) {
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(nullptr, gethostbyname(name)) << name;
    EXPECT_EQ(WSAHOST_NOT_FOUND, WSAGetLastError()) << name;
    EXPECT_LT(std::chrono::steady_clock::now() - started, seconds(1)) << name;
  }
  char name[256];
  ASSERT_EQ(0, gethostname(name, sizeof name));
  EXPECT_EQ(WSAEFAULT, errorOf(gethostname(name, 1)));
}

TEST(WinsockTest, LookUpsFromManyThreadsKeepTheirOwnAnswers) {
  const char* names[] = {"127.0.0.1", "localhost"};
  std::vector<std::future<int>> workers;
  for (int t = 0; t < 8; ++t) {
    workers.push_back(std::async(std::launch::async, [name = names[t % 2]] {
      int faults = 0;
      for (int i = 0; i < 200; ++i) {
        hostent* entry = gethostbyname(name);
        if (!entry) return -1;
        std::this_thread::yield();
        faults += std::strcmp(entry->h_name, name) != 0 || std::memcmp(entry->h_addr, "\x7f\0\0\x01", 4) != 0;
      }
      return faults;
    }));
  }
  for (auto& worker : workers) EXPECT_EQ(0, worker.get());
}

TEST(WinsockTest, SystemErrorsMapToWinsockNumbers) {
  const int table[][2] = {
      {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},      {ENETUNREACH, 10051},     {EHOSTUNREACH, 10065},
      {ENETDOWN, 10050},     {ECONNRESET, 10054},     {EPIPE, 10054},           {EISCONN, 10056},
      {EALREADY, 10037},     {EINPROGRESS, 10036},    {EWOULDBLOCK, 10035},     {EAGAIN, 10035},
      {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},  {EAFNOSUPPORT, 10047},    {EFAULT, 10014},
      {EMFILE, 10024},       {ENFILE, 10024},         {ENOBUFS, 10055},         {ENOMEM, 10055},
      {EPROTOTYPE, 10041},   {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EBADF, 10038},
      {ENOTSOCK, 10038},     {EINTR, 10004},          {EINVAL, 10022},          {ENOTCONN, 10057},
      {ESHUTDOWN, 10058},    {ECONNABORTED, 10053},
  };
  for (const auto& row : table) EXPECT_EQ(row[1], vornplatform::wsaErrorFromErrno(row[0])) << "errno " << row[0];
  // Nothing ever claims the start-up was missing.
  for (int e = 0; e < 200; ++e) EXPECT_NE(WSANOTINITIALISED, vornplatform::wsaErrorFromErrno(e));
}

}  // namespace
