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
#include "platform/tests/Loopback.h"
#include "platform/win32.h"

namespace {

using namespace std::chrono_literals;

using loopback::asAddress;
using loopback::portOf;

// The error a failed call left, or 0 when it did not fail (INVALID_SOCKET reads as SOCKET_ERROR).
int errorOf(long long result) { return result == SOCKET_ERROR ? WSAGetLastError() : 0; }

// A listener on 127.0.0.1 (kernel-chosen port), a client and the server side accepted for it.
struct Pair {
  SOCKET listener = INVALID_SOCKET, client = socket(AF_INET, SOCK_STREAM, 0);
  SOCKET server = INVALID_SOCKET;
  sockaddr_in from{};
  Pair() {
    u_short port;
    int length = sizeof from;
    listener = loopback::listening(&port);
    if (loopback::connectTo(client, port)) server = accept(listener, asAddress(&from), &length);
  }
  ~Pair() {
    for (SOCKET s : {listener, client, server}) closesocket(s);
  }
};

TEST(WinsockTest, StartupByteOrderAndAddressTexts) {
  WSADATA data;
  ASSERT_EQ(0, WSAStartup(MAKEWORD(3, 0), &data));
  EXPECT_EQ(MAKEWORD(2, 2), data.wVersion);  // the highest this layer has
  EXPECT_EQ(WSAEFAULT, WSAStartup(MAKEWORD(2, 2), nullptr));
  u_short port = htons(0x1234);
  ULONG value = htonl(0x01020304u);
  EXPECT_EQ(0, std::memcmp(&port, "\x12\x34", 2));
  EXPECT_EQ(0, std::memcmp(&value, "\x01\x02\x03\x04", 4));
  EXPECT_EQ(htonl(INADDR_LOOPBACK), inet_addr("127.1"));
  for (const char* bad : {"", "1.2.3.256", "host.example"})
    EXPECT_EQ(INADDR_NONE, inet_addr(bad)) << bad;
  EXPECT_EQ(INADDR_NONE, inet_addr(nullptr));
}

// A non-blocking socket never waits: it reports WSAEWOULDBLOCK, and WSAPoll tells when to
// read and write.
TEST(WinsockTest, NonBlockingCallsAndPollReadiness) {
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.server);
  ULONG on = 1;
  ASSERT_EQ(0, ioctlsocket(pair.client, FIONBIO, &on));
  EXPECT_EQ(WSAEINVAL, errorOf(ioctlsocket(pair.client, 0x1234, &on)));
  char buffer[8];
  EXPECT_EQ(WSAEWOULDBLOCK, errorOf(recv(pair.client, buffer, sizeof buffer, 0)));
  WSAPOLLFD watch{pair.client, POLLRDNORM | POLLWRNORM, 0};
  ASSERT_EQ(1, WSAPoll(&watch, 1, 1000));
  EXPECT_EQ(POLLWRNORM, watch.revents);
  ASSERT_EQ(2, send(pair.server, "hi", 2, 0));
  watch = {pair.client, POLLRDNORM, 0};
  ASSERT_EQ(1, WSAPoll(&watch, 1, 1000));
  EXPECT_EQ(POLLRDNORM, watch.revents);
  EXPECT_EQ(2, recv(pair.client, buffer, sizeof buffer, 0));
  // A peer that reads nothing: the sends fill up and then would block instead of waiting.
  std::vector<char> block(65536, 'x');
  int sent = 0;
  for (int i = 0; i < 10000 && sent != SOCKET_ERROR; ++i)
    sent = send(pair.client, block.data(), static_cast<int>(block.size()), 0);
  EXPECT_EQ(WSAEWOULDBLOCK, WSAGetLastError());
  watch = {pair.client, POLLWRNORM, 0};
  EXPECT_EQ(0, WSAPoll(&watch, 1, 10));
}

TEST(WinsockTest, LoopbackTrafficOrderlyEndAndReset) {
  std::signal(SIGPIPE, SIG_DFL);  // a SIGPIPE would end this program
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.server);
  EXPECT_STREQ("127.0.0.1", inet_ntoa(pair.from.sin_addr));
  EXPECT_EQ(portOf(pair.client), ntohs(pair.from.sin_port));
  char buffer[16] = {0};
  ASSERT_EQ(5, send(pair.client, "hello", 5, 0));
  ASSERT_EQ(5, recv(pair.server, buffer, 5, MSG_PEEK | MSG_WAITALL));
  ASSERT_EQ(5, recv(pair.server, buffer, sizeof buffer, 0));
  EXPECT_STREQ("hello", buffer);
  // A half-close reads as an orderly end on the other side.
  ASSERT_EQ(0, shutdown(pair.server, SD_SEND));
  EXPECT_EQ(0, recv(pair.client, buffer, sizeof buffer, 0));
  // Closing on unread data resets; sends to a reset peer are errors, never a signal.
  ASSERT_EQ(4, send(pair.client, "data", 4, 0));
  std::this_thread::sleep_for(20ms);
  closesocket(pair.server);
  pair.server = INVALID_SOCKET;
  int result = 0;
  for (int attempt = 0; attempt < 200 && result != SOCKET_ERROR; ++attempt) {
    std::this_thread::sleep_for(5ms);
    result = send(pair.client, "more", 4, 0);
  }
  EXPECT_EQ(WSAECONNRESET, errorOf(result));
  EXPECT_EQ(WSAECONNRESET, errorOf(send(pair.client, "more", 4, 0)));  // the broken-pipe case
}

TEST(WinsockTest, CloseWakesCallsBlockedInOtherThreads) {
  Pair pair;
  ASSERT_NE(INVALID_SOCKET, pair.server);
  u_short listening = portOf(pair.listener);
  char buffer[8];
  auto received =
      std::async(std::launch::async, [&] { return recv(pair.client, buffer, sizeof buffer, 0); });
  auto accepted =
      std::async(std::launch::async, [&] { return accept(pair.listener, nullptr, nullptr); });
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(0, closesocket(pair.client));
  EXPECT_EQ(0, closesocket(pair.listener));
  pair.client = pair.listener = INVALID_SOCKET;
  bool woke = received.wait_for(5s) == std::future_status::ready &&
              accepted.wait_for(5s) == std::future_status::ready;
  EXPECT_TRUE(woke) << "a blocked call was not woken";
  if (!woke) {  // free the threads through their peers so the test ends
    send(pair.server, "x", 1, 0);
    SOCKET rescue = socket(AF_INET, SOCK_STREAM, 0);
    loopback::connectTo(rescue, listening);
    closesocket(rescue);
  }
  EXPECT_LE(received.get(), 0);
  EXPECT_EQ(INVALID_SOCKET, accepted.get());
}

TEST(WinsockTest, FailuresGiveWinsockErrors) {
  u_short idlePort;
  SOCKET bound = loopback::bound(&idlePort), s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in idle = loopback::address(idlePort);  // bound, not listening: connections refused
  char buffer[4];
  int length = 2;
  EXPECT_EQ(WSAENOTSOCK, errorOf(send(INVALID_SOCKET, "x", 1, 0)));
  EXPECT_EQ(WSAEFAULT, errorOf(recv(s, buffer, -1, 0)));
  EXPECT_EQ(WSAEOPNOTSUPP, errorOf(recv(s, buffer, sizeof buffer, 0x4000)));
  EXPECT_EQ(WSAEFAULT, errorOf(connect(s, asAddress(&idle), 4)));
  EXPECT_EQ(WSAEFAULT, errorOf(getsockname(s, asAddress(&idle), &length)));
  EXPECT_EQ(WSAENOPROTOOPT, errorOf(setsockopt(s, SOL_SOCKET, 0x7777, "\1\0\0\0", 4)));
  EXPECT_EQ(WSAEADDRINUSE, errorOf(bind(s, asAddress(&idle), sizeof idle)));
  EXPECT_EQ(WSAECONNREFUSED, errorOf(connect(s, asAddress(&idle), sizeof idle)));
  for (SOCKET each : {bound, s}) closesocket(each);
  // closesocket takes sockets only: an open file stays usable.
  FILE* file = std::tmpfile();
  ASSERT_TRUE(file);
  EXPECT_EQ(WSAENOTSOCK, errorOf(closesocket(static_cast<SOCKET>(fileno(file)))));
  EXPECT_TRUE(std::fputs("still open", file) >= 0 && std::fflush(file) == 0);
  std::fclose(file);
  // The system's own numbers, including those no call above can provoke.
  const int table[][2] = {{ECONNRESET, WSAECONNRESET}, {EPIPE, WSAECONNRESET},
                          {ETIMEDOUT, WSAETIMEDOUT},   {EHOSTUNREACH, WSAEHOSTUNREACH},
                          {EAGAIN, WSAEWOULDBLOCK},    {EBADF, WSAENOTSOCK}};
  for (const auto& row : table)
    EXPECT_EQ(row[1], vornplatform::wsaErrorFromErrno(row[0])) << "errno " << row[0];
  // Nothing ever claims the start-up was missing.
  for (int e = 0; e < 200; ++e) EXPECT_NE(WSANOTINITIALISED, vornplatform::wsaErrorFromErrno(e));
}

TEST(WinsockTest, OptionsReachTheSocket) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  const int settings[][3] = {{SOL_SOCKET, SO_KEEPALIVE, 1},
                             {SOL_SOCKET, SO_REUSEADDR, 1},
                             {IPPROTO_TCP, TCP_NODELAY, 1},
                             {SOL_SOCKET, SO_KEEPALIVE, 0}};
  for (const auto& setting : settings) {
    int value = -1, length = sizeof value;
    ASSERT_EQ(0, setsockopt(s, setting[0], setting[1], reinterpret_cast<const char*>(&setting[2]),
                            sizeof(int)));
    ASSERT_EQ(0, getsockopt(s, setting[0], setting[1], reinterpret_cast<char*>(&value), &length));
    EXPECT_EQ(setting[2], value) << setting[0] << "/" << setting[1];
  }
  closesocket(s);
}

TEST(WinsockTest, LookUps) {
  // The reserved "invalid" domain fails at once, without asking any resolver.
  for (const char* name : {"no-such-host.invalid", "NO-SUCH.INVALID.", "invalid"}) {
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(nullptr, gethostbyname(name)) << name;
    EXPECT_EQ(WSAHOST_NOT_FOUND, WSAGetLastError()) << name;
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s) << name;
  }
  char name[256];
  ASSERT_EQ(0, gethostname(name, sizeof name));
  EXPECT_EQ(WSAEFAULT, errorOf(gethostname(name, 1)));
  hostent* entry = gethostbyname("127.0.0.1");
  ASSERT_TRUE(entry && !entry->h_addr_list[1]);  // one address, and the list ends
  // Each thread keeps its own answer while others look up at the same time.
  std::vector<std::future<int>> workers;
  for (int t = 0; t < 8; ++t) {
    workers.push_back(std::async(std::launch::async, [name = t % 2 ? "localhost" : "127.0.0.1"] {
      int faults = 0;
      for (int i = 0; i < 200; ++i) {
        hostent* entry = gethostbyname(name);
        if (!entry) return -1;
        std::this_thread::yield();
        faults += std::strcmp(entry->h_name, name) != 0 ||
                  std::memcmp(entry->h_addr, "\x7f\0\0\x01", 4) != 0;
      }
      return faults;
    }));
  }
  for (auto& worker : workers) EXPECT_EQ(0, worker.get());
}

}  // namespace
