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

sockaddr* asAddress(sockaddr_in* address) { return reinterpret_cast<sockaddr*>(address); }

// Binds a new socket to 127.0.0.1 with a kernel-chosen port and tells the port.
SOCKET bindLoopback(u_short* port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = inet_addr("127.0.0.1");
  int length = sizeof address;
  bind(s, asAddress(&address), length);
  getsockname(s, asAddress(&address), &length);
  *port = ntohs(address.sin_port);
  return s;
}

// A port that nothing listens on: bound once, then released.
u_short freePort() {
  u_short port = 0;
  closesocket(bindLoopback(&port));
  return port;
}

class SocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    listener_ = bindLoopback(&port_);
    ASSERT_EQ(0, listen(listener_, 4));
  }
  void TearDown() override {
    closesocket(peer_);
    closesocket(listener_);
  }

  // Connects the socket under test and accepts its peer.
  void connectPeer(Socket& client) {
    ASSERT_TRUE(client.connect("127.0.0.1", port_));
    peer_ = accept(listener_, nullptr, nullptr);
    ASSERT_NE(INVALID_SOCKET, peer_);
  }
  void peerSends(const char* text) { ASSERT_NE(SOCKET_ERROR, ::send(peer_, text, static_cast<int>(std::strlen(text)), 0)); }
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
  ASSERT_TRUE(client.send(static_cast<const char*>(nullptr)));  // sends nothing
  EXPECT_EQ("hello\nxyz", peerReceives(9));

  peerSends("abcdef");
  char buffer[4];
  EXPECT_EQ(3, client.receive(buffer, sizeof buffer));
  EXPECT_STREQ("abc", buffer);
  EXPECT_EQ(3, client.receive(buffer, sizeof buffer));
  EXPECT_STREQ("def", buffer);
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
  EXPECT_TRUE(client.isConnected());  // an orderly end is left to the owner to close
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
  Socket client;
  for (const Case& c : cases) {
    EXPECT_FALSE(client.connect(c.host, c.port)) << c.host;
    EXPECT_FALSE(client.isConnected()) << c.host;
    EXPECT_EQ(c.index, client.getErrorCode()) << c.host;
    EXPECT_STREQ(c.text, client.getErrorText()) << c.host;
  }
  char buffer[8];
  EXPECT_EQ(0, client.receive(buffer, sizeof buffer));
  EXPECT_FALSE(client.send("x"));
  // A failed object is ready for a new connect, which starts with a clean error.
  connectPeer(client);
  EXPECT_EQ(0, client.getErrorCode());
}

TEST_F(SocketTest, ConnectingAgainClosesTheOldConnection) {
  Socket client;
  connectPeer(client);
  SOCKET first = peer_;
  ASSERT_TRUE(client.connect("localhost", port_));
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
  if (received.wait_for(seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "receive still blocked";
    peerSends("x");  // free the thread so the test ends
  }
  EXPECT_EQ(0, received.get());
  EXPECT_FALSE(client.isConnected());
  client.close();  // a second close is harmless
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
