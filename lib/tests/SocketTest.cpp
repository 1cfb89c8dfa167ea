// Socket against a listener on 127.0.0.1: traffic, closes, failures and their messages.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <future>
#include <string>
#include <thread>

#include "lib/Socket.h"
#include "platform/win32.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

sockaddr_in loopback(u_short port) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = inet_addr("127.0.0.1");
  return address;
}

u_short boundPort(SOCKET s) {
  sockaddr_in address;
  int length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

// A port that nothing listens on: bound once by us, then released.
u_short freePort() {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  u_short port = boundPort(s);
  closesocket(s);
  return port;
}

class SocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    ASSERT_EQ(0, bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address));
    ASSERT_EQ(0, listen(listener_, 4));
    port_ = boundPort(listener_);
  }
  void TearDown() override {
    if (peer_ != INVALID_SOCKET) closesocket(peer_);
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
  }

  // Connects the socket under test and accepts its peer.
  void connectPeer(Socket& client) {
    ASSERT_TRUE(client.connect("127.0.0.1", port_));
    peer_ = accept(listener_, nullptr, nullptr);
    ASSERT_NE(INVALID_SOCKET, peer_);
  }
  void peerSends(const char* text) { ASSERT_EQ(static_cast<int>(std::strlen(text)), ::send(peer_, text, static_cast<int>(std::strlen(text)), 0)); }
  std::string peerReceives(int count) {
    std::string text(static_cast<size_t>(count), '\0');
    int got = recv(peer_, &text[0], count, MSG_WAITALL);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
  }
  // Connects without accepting, then drops the listener: the kernel resets the queued
  // connection, with no orderly close before it.
  void connectToDroppedListener(Socket& client) {
    ASSERT_TRUE(client.connect("127.0.0.1", port_));
    closesocket(listener_);
    listener_ = INVALID_SOCKET;
    std::this_thread::sleep_for(milliseconds(20));
  }

  SOCKET listener_ = INVALID_SOCKET;
  SOCKET peer_ = INVALID_SOCKET;
  u_short port_ = 0;
};

TEST_F(SocketTest, SendsAndReceivesOverLoopback) {
  Socket client;
  EXPECT_FALSE(client.isConnected());
  connectPeer(client);
  EXPECT_TRUE(client.isConnected());
  EXPECT_EQ(0, client.getErrorCode());
  EXPECT_STREQ("No error.", client.getErrorText());

  ASSERT_TRUE(client.send("hello\n"));
  ASSERT_TRUE(client.send("xyz!", 3));
  EXPECT_EQ("hello\nxyz", peerReceives(9));

  peerSends("abcdef");
  char buffer[4];
  EXPECT_EQ(3, client.receive(buffer, sizeof buffer));
  EXPECT_STREQ("abc", buffer);
  EXPECT_EQ(3, client.receive(buffer, sizeof buffer));
  EXPECT_STREQ("def", buffer);
}

TEST_F(SocketTest, HostNamesResolve) {
  Socket client;
  ASSERT_TRUE(client.connect("localhost", port_));
  peer_ = accept(listener_, nullptr, nullptr);
  ASSERT_TRUE(client.send("hi"));
  EXPECT_EQ("hi", peerReceives(2));
}

TEST_F(SocketTest, PeerCloseIsNotAnError) {
  Socket client;
  connectPeer(client);
  closesocket(peer_);
  peer_ = INVALID_SOCKET;
  char buffer[16] = "untouched";
  EXPECT_EQ(0, client.receive(buffer, sizeof buffer));
  EXPECT_STREQ("", buffer);
  EXPECT_EQ(0, client.getErrorCode());
}

TEST_F(SocketTest, ReceiveFailureClosesAndTellsItApart) {
  Socket client;
  connectToDroppedListener(client);
  char buffer[16];
  EXPECT_EQ(0, client.receive(buffer, sizeof buffer));
  EXPECT_EQ(12, client.getErrorCode());
  EXPECT_STREQ("The connection has been broken.", client.getErrorText());
  EXPECT_FALSE(client.isConnected());
}

TEST_F(SocketTest, SendToAResetPeerFailsWithoutASignal) {
  std::signal(SIGPIPE, SIG_DFL);
  Socket client;
  connectToDroppedListener(client);
  bool sent = true;
  for (int attempt = 0; attempt < 200 && sent; ++attempt) {
    sent = client.send("more");
    if (sent) std::this_thread::sleep_for(milliseconds(10));
  }
  EXPECT_FALSE(sent);
  EXPECT_EQ(12, client.getErrorCode());
  EXPECT_FALSE(client.isConnected());
}

TEST_F(SocketTest, SmallReceiveSizesLeaveTheConnectionAlone) {
  Socket client;
  connectPeer(client);
  peerSends("q");
  char buffer[4] = "xyz";
  EXPECT_EQ(0, client.receive(buffer, 0));
  EXPECT_EQ(0, client.receive(buffer, -5));
  EXPECT_EQ(0, client.receive(nullptr, 4));
  EXPECT_STREQ("xyz", buffer);
  EXPECT_EQ(0, client.receive(buffer, 1));
  EXPECT_STREQ("", buffer);
  EXPECT_TRUE(client.isConnected());
  EXPECT_EQ(0, client.getErrorCode());
  // The byte that was waiting is still there.
  EXPECT_EQ(1, client.receive(buffer, sizeof buffer));
  EXPECT_STREQ("q", buffer);
}

TEST_F(SocketTest, ConnectFailuresLeaveNoSocket) {
  struct Case {
    const char* host;
    u_short port;
    int index;
    const char* text;
  };
  const Case cases[] = {
      {"127.0.0.1", freePort(), 10, "Connection refused."},
      // Look-up failures are not in the table.
      {"no-such-host.invalid", port_, 13, "Unknown Error !"},
  };
  for (const Case& c : cases) {
    Socket client;
    EXPECT_FALSE(client.connect(c.host, c.port)) << c.host;
    EXPECT_FALSE(client.isConnected()) << c.host;
    EXPECT_EQ(c.index, client.getErrorCode()) << c.host;
    EXPECT_STREQ(c.text, client.getErrorText()) << c.host;
  }
}

TEST_F(SocketTest, FailedObjectConnectsAgainWithErrorReset) {
  Socket client;
  ASSERT_FALSE(client.connect("127.0.0.1", freePort()));
  ASSERT_EQ(10, client.getErrorCode());
  connectPeer(client);
  EXPECT_EQ(0, client.getErrorCode());
}

TEST_F(SocketTest, ConnectingAgainClosesTheOldConnection) {
  Socket client;
  connectPeer(client);
  SOCKET first = peer_;
  ASSERT_TRUE(client.connect("127.0.0.1", port_));
  peer_ = accept(listener_, nullptr, nullptr);
  char byte;
  EXPECT_EQ(0, recv(first, &byte, 1, 0));
  closesocket(first);
  ASSERT_TRUE(client.send("new"));
  EXPECT_EQ("new", peerReceives(3));
}

TEST_F(SocketTest, CloseFromAnotherThreadWakesABlockedReceive) {
  Socket client;
  connectPeer(client);
  std::promise<void> started;
  auto received = std::async(std::launch::async, [&] {
    char buffer[16];
    started.set_value();
    return client.receive(buffer, sizeof buffer);
  });
  started.get_future().wait();
  std::this_thread::sleep_for(milliseconds(50));
  client.close();
  ASSERT_EQ(std::future_status::ready, received.wait_for(seconds(5)));
  EXPECT_EQ(0, received.get());
  EXPECT_FALSE(client.isConnected());
  client.close();  // a second close is harmless
}

TEST_F(SocketTest, WithoutAConnectionEveryCallFailsQuietly) {
  Socket client;
  char buffer[8] = "keep";
  EXPECT_EQ(0, client.receive(buffer, sizeof buffer));
  EXPECT_FALSE(client.send("x"));
  EXPECT_FALSE(client.isConnected());
  client.setKeepAlive(true);
  client.close();
}

// The client's own descriptor, found by its two ends: the handle itself is private.
SOCKET findClientSocket(SOCKET peer, u_short serverPort) {
  sockaddr_in client;
  int length = sizeof client;
  if (getpeername(peer, reinterpret_cast<sockaddr*>(&client), &length) != 0) return INVALID_SOCKET;
  for (SOCKET s = 0; s < 1024; ++s) {
    sockaddr_in local;
    sockaddr_in remote;
    int localLength = sizeof local;
    int remoteLength = sizeof remote;
    if (getsockname(s, reinterpret_cast<sockaddr*>(&local), &localLength) == 0 &&
        getpeername(s, reinterpret_cast<sockaddr*>(&remote), &remoteLength) == 0 &&
        local.sin_port == client.sin_port && ntohs(remote.sin_port) == serverPort) {
      return s;
    }
  }
  return INVALID_SOCKET;
}

TEST_F(SocketTest, KeepAliveReachesTheSocket) {
  Socket client;
  connectPeer(client);
  SOCKET own = findClientSocket(peer_, port_);
  ASSERT_NE(INVALID_SOCKET, own);
  for (bool on : {true, false}) {
    client.setKeepAlive(on);
    int value = -1;
    int length = sizeof value;
    ASSERT_EQ(0, getsockopt(own, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<char*>(&value), &length));
    EXPECT_EQ(on ? 1 : 0, value);
  }
}

// Reports a chosen index, so every message can be read through getErrorText.
class IndexedSocket : public Socket {
 public:
  int index = 0;
  int getErrorCode() override { return index; }
};

TEST(SocketErrorTable, MessagesAndMapping) {
  const char* const texts[] = {
      "No error.",
      "Something has not been initialized ! Please, refer it to Morvash.",
      "The net is down, no connection is available.",
      "Address Invalid !",
      "System lock : try to create a socket later.",
      "Too many socket are opened, try to close anyone before creating a new socket.",
      "System error : can't create the socket, try to reboot your machine.",
      "Already in progress.",
      "Address already in use.",
      "Already connected.",
      "Connection refused.",
      "The network address can't be reached.",
      "The connection has been broken.",
      "Unknown Error !",
  };
  IndexedSocket socket;
  for (int i = 0; i < 14; ++i) {
    socket.index = i;
    EXPECT_STREQ(texts[i], socket.getErrorText()) << i;
  }
  socket.index = 14;
  EXPECT_STREQ("Unknown Error !", socket.getErrorText());

  const int mapping[][2] = {
      {WSAEFAULT, 3},       {WSAEAFNOSUPPORT, 3},    {WSAEADDRNOTAVAIL, 3},   {WSAEMFILE, 5},
      {WSAEWOULDBLOCK, 0},  {WSAEINPROGRESS, 4},     {WSAEALREADY, 7},        {WSAEPROTOTYPE, 6},
      {WSAEPROTONOSUPPORT, 6}, {WSAESOCKTNOSUPPORT, 6}, {WSAENOBUFS, 6},      {WSAEADDRINUSE, 8},
      {WSAENETDOWN, 2},     {WSAENETUNREACH, 11},    {WSAECONNRESET, 12},     {WSAEISCONN, 9},
      {WSAETIMEDOUT, 10},   {WSAECONNREFUSED, 10},   {WSANOTINITIALISED, 1},  {WSAHOST_NOT_FOUND, 13},
      {WSATRY_AGAIN, 13},   {WSAEHOSTUNREACH, 13},   {WSAENOTSOCK, 13},       {0, 13},
  };
  for (const auto& row : mapping) EXPECT_EQ(row[1], Socket::mapSocketError(row[0])) << row[0];
}

}  // namespace
