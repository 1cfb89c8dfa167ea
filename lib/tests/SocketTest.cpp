// Socket against a listener on 127.0.0.1: traffic, closes, failures and their messages.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>
#include <utility>

#include "lib/Socket.h"
#include "platform/tests/Loopback.h"
#include "platform/win32.h"

namespace {

using namespace std::chrono_literals;

class SocketTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (SOCKET s : {peer_, listener_}) closesocket(s);
  }

  // Connects the socket under test and accepts its peer.
  void connectPeer(Socket& client) {
    ASSERT_TRUE(client.connect("127.0.0.1", port_));
    peer_ = accept(listener_, nullptr, nullptr);
    ASSERT_NE(INVALID_SOCKET, peer_);
  }
  void peerSends(const char* text) {
    ASSERT_NE(SOCKET_ERROR, ::send(peer_, text, static_cast<int>(std::strlen(text)), 0));
  }

  u_short port_ = 0;
  SOCKET listener_ = loopback::listening(&port_);
  SOCKET peer_ = INVALID_SOCKET;
};

TEST_F(SocketTest, SendsAndReceivesOverLoopback) {
  Socket client;
  EXPECT_FALSE(client.isConnected());
  connectPeer(client);
  EXPECT_STREQ("No error.", client.getErrorText());
  ASSERT_TRUE(client.send("hello\n"));
  ASSERT_TRUE(client.send("xyz!", 3));
  ASSERT_TRUE(client.send(static_cast<const char*>(nullptr)));  // sends nothing
  char sent[10] = {0};
  ASSERT_EQ(9, recv(peer_, sent, 9, MSG_WAITALL));
  EXPECT_STREQ("hello\nxyz", sent);
  // Each read leaves room for the terminator.
  peerSends("abcdef");
  char buffer[4];
  for (const char* part : {"abc", "def"}) {
    EXPECT_EQ(3, client.receive(buffer, sizeof buffer));
    EXPECT_STREQ(part, buffer);
  }
  // Sizes with no room for a byte read nothing and leave the waiting data alone.
  peerSends("q");
  for (int size : {0, -5}) EXPECT_EQ(0, client.receive(buffer, size));
  EXPECT_EQ(0, client.receive(nullptr, 4));
  EXPECT_STREQ("def", buffer);
  EXPECT_EQ(0, client.receive(buffer, 1));
  EXPECT_STREQ("", buffer);
  EXPECT_TRUE(client.isConnected());
  EXPECT_EQ(1, client.receive(buffer, sizeof buffer));
  EXPECT_STREQ("q", buffer);
}

TEST_F(SocketTest, PeerCloseIsAnEndButAResetIsAFailure) {
  Socket closed, reset;
  connectPeer(closed);
  closesocket(std::exchange(peer_, INVALID_SOCKET));
  char buffer[16] = "untouched";
  EXPECT_EQ(0, closed.receive(buffer, sizeof buffer));
  EXPECT_STREQ("", buffer);
  EXPECT_EQ(0, closed.getErrorCode());
  EXPECT_TRUE(closed.isConnected());  // an orderly end is left to the owner to close
  // Connected but never accepted: dropping the listener resets the connection.
  ASSERT_TRUE(reset.connect("127.0.0.1", port_));
  closesocket(std::exchange(listener_, INVALID_SOCKET));
  EXPECT_EQ(0, reset.receive(buffer, sizeof buffer));
  EXPECT_STREQ("The connection has been broken.", reset.getErrorText());
  EXPECT_FALSE(reset.isConnected());
  EXPECT_FALSE(reset.send("x"));  // nothing left to send on
}

TEST_F(SocketTest, ConnectFailuresCloseAndExplain) {
  Socket client;
  EXPECT_FALSE(client.connect("127.0.0.1", loopback::refusedPort()));
  EXPECT_FALSE(client.isConnected());
  EXPECT_STREQ("Connection refused.", client.getErrorText());
  EXPECT_FALSE(client.connect("no-such-host.invalid", port_));
  EXPECT_FALSE(client.isConnected());
  // Look-up failures have no message of their own.
  EXPECT_STREQ("Unknown Error !", client.getErrorText());
  // A failed object is ready for a new connect, which starts with a clean error.
  connectPeer(client);
  EXPECT_EQ(0, client.getErrorCode());
}

TEST_F(SocketTest, ReconnectOrCloseEndsTheConnectionInUse) {
  Socket client;
  connectPeer(client);
  SOCKET first = std::exchange(peer_, INVALID_SOCKET);
  connectPeer(client);
  char buffer[16];
  auto ended = std::async(std::launch::async, [&] { return recv(first, buffer, 1, 0); });
  EXPECT_EQ(std::future_status::ready, ended.wait_for(5s)) << "the old connection is still open";
  closesocket(first);  // frees the thread in any case
  EXPECT_EQ(0, ended.get());
  // A close from another thread wakes a receive blocked on the new one.
  auto received =
      std::async(std::launch::async, [&] { return client.receive(buffer, sizeof buffer); });
  std::this_thread::sleep_for(50ms);
  client.close();
  if (received.wait_for(5s) != std::future_status::ready) {
    ADD_FAILURE() << "receive still blocked";
    peerSends("x");  // free the thread so the test ends
  }
  EXPECT_EQ(0, received.get());
  EXPECT_FALSE(client.isConnected());
  client.close();  // a second close is harmless
}

// Spins for a few microseconds, so closes land at different points of the other thread's call.
void spinFor(int microseconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(microseconds);
  while (std::chrono::steady_clock::now() < end) {
  }
}

// Each close is followed at once by a new connection, which takes the freed descriptor number
// when it is free: a receive on a stale number would read that connection's byte, and a late
// second close would cut it.
TEST_F(SocketTest, CloseRacingAReceiveNeverTouchesALaterConnection) {
  for (int round = 0; round < 200; ++round) {
    Socket client;
    connectPeer(client);
    char buffer[8];
    std::atomic<bool> started{false};
    auto received = std::async(std::launch::async, [&] {
      started = true;
      return client.receive(buffer, sizeof buffer);
    });
    while (!started) std::this_thread::yield();
    spinFor(round % 25);
    client.close();
    SOCKET fresh = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_TRUE(loopback::connectTo(fresh, port_));
    SOCKET freshPeer = accept(listener_, nullptr, nullptr);
    ASSERT_EQ(1, ::send(freshPeer, "z", 1, 0));
    bool woke = received.wait_for(5s) == std::future_status::ready;
    if (!woke) closesocket(fresh);  // frees a receive stuck on the new connection
    ASSERT_TRUE(woke) << "round " << round;
    ASSERT_EQ(0, received.get()) << "round " << round << " read from the new connection";
    char byte = 0;
    EXPECT_EQ(1, recv(fresh, &byte, 1, 0));
    EXPECT_EQ(1, ::send(fresh, "y", 1, 0)) << "round " << round << ": the new connection was cut";
    EXPECT_EQ(1, recv(freshPeer, &byte, 1, 0));
    EXPECT_EQ('y', byte);
    for (SOCKET s : {fresh, freshPeer, std::exchange(peer_, INVALID_SOCKET)}) closesocket(s);
  }
}

// The same for a close that lands while a connect looks its host up or connects: the stale
// connect must not connect the new socket that took the freed number.
TEST_F(SocketTest, CloseRacingAConnectNeverTouchesALaterSocket) {
  for (int round = 0; round < 200; ++round) {
    u_short port;
    SOCKET listener = loopback::listening(&port, 8);  // its own: nothing queued between rounds
    Socket client;
    std::atomic<bool> started{false};
    auto made = std::async(std::launch::async, [&] {
      started = true;
      return client.connect("127.0.0.1", port);
    });
    while (!started) std::this_thread::yield();
    spinFor(round % 40);
    client.close();
    SOCKET fresh = socket(AF_INET, SOCK_STREAM, 0);
    made.get();
    EXPECT_TRUE(loopback::connectTo(fresh, port))
        << "round " << round << ": the new socket was connected by the closed one's connect";
    for (SOCKET s : {fresh, listener}) closesocket(s);
  }
}

// A listener whose queue is full drops further attempts, so a connect to it hangs until
// closed; closes come as an owner's shutdown sends them: repeated until the connect returns.
TEST_F(SocketTest, CloseRacingAConnectWakesIt) {
  u_short fullPort;
  SOCKET full = loopback::listening(&fullPort, 0);
  Socket queued;
  ASSERT_TRUE(queued.connect("127.0.0.1", fullPort));
  for (int round = 0; round < 20; ++round) {
    Socket client;
    auto made =
        std::async(std::launch::async, [&] { return client.connect("127.0.0.1", fullPort); });
    spinFor(round * 100);
    auto deadline = std::chrono::steady_clock::now() + 5s;
    do {
      client.close();
    } while (made.wait_for(5ms) != std::future_status::ready &&
             std::chrono::steady_clock::now() < deadline);
    ASSERT_EQ(std::future_status::ready, made.wait_for(0s)) << "round " << round;
    EXPECT_FALSE(made.get());
    EXPECT_FALSE(client.isConnected());
  }
  closesocket(full);
}

// Reports a chosen index, so any message can be read through getErrorText.
class IndexedSocket : public Socket {
 public:
  int index = 0;
  int getErrorCode() override { return index; }
};

TEST(SocketErrorTable, MessagesAndMapping) {
  IndexedSocket socket;
  socket.index = 1;
  EXPECT_STREQ("Something has not been initialized ! Please, refer it to Morvash.",
               socket.getErrorText());
  for (int outside : {14, -1}) {
    socket.index = outside;
    EXPECT_STREQ("Unknown Error !", socket.getErrorText()) << outside;
  }
  // Two numbers share a message, a would-block is no error, and anything unknown is the last.
  const int mapping[][2] = {{WSAEFAULT, 3},   {WSAEADDRNOTAVAIL, 3},   {WSAEWOULDBLOCK, 0},
                            {WSAENETDOWN, 2}, {WSAHOST_NOT_FOUND, 13}, {0, 13}};
  for (const auto& row : mapping) EXPECT_EQ(row[1], Socket::mapSocketError(row[0])) << row[0];
}

}  // namespace
