// The receive thread against listeners on 127.0.0.1: the server walk, data, closes, errors,
// and disconnects or terms that arrive while a connect is still blocked.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "host/ClientConnection.h"
#include "platform/testing.h"
#include "platform/tests/Loopback.h"
#include "platform/win32.h"

namespace {

struct Seen {
  int kind;
  bool hasText;
  std::string text;
  int value;
};

std::vector<Seen> seen;
Client* const kOwner = reinterpret_cast<Client*>(0x1234);

// Records each request and frees it, as the system window does.
LRESULT CALLBACK receiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != ConnectionRequestMessage) return DefWindowProcA(hwnd, msg, wParam, lParam);
  ConnectionRequest* request = reinterpret_cast<ConnectionRequest*>(lParam);
  EXPECT_EQ(kOwner, request->client);
  seen.push_back({request->kind, request->text != nullptr, request->text ? request->text : "",
                  request->value});
  ConnectionRequest::destroy(request);
  return 0;
}

HWND makeReceiver() {
  static bool registered = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = receiverProc;
    wc.lpszClassName = "ConnectionTestReceiver";
    return RegisterClassExA(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(0, "ConnectionTestReceiver", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                         nullptr, nullptr);
}

using loopback::refusedPort;

class ConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    seen.clear();
    receiver_ = makeReceiver();
    ASSERT_NE(nullptr, receiver_);
    listener_ = loopback::listening(&port_);
    ASSERT_NE(INVALID_SOCKET, listener_);
    connection_ = new ClientConnection(receiver_);
    connection_->setOwner(kOwner, nullptr);
  }
  void TearDown() override {
    delete connection_;
    for (SOCKET s : {peer_, listener_}) closesocket(s);
    DestroyWindow(receiver_);
    vorntest::pumpFor(10);
    seen.clear();
  }

  // The thread as the client starts it: a tiny requested stack, resumed at once.
  void start() {
    ASSERT_TRUE(connection_->create(1024));
    connection_->resume();
  }
  bool waitFor(size_t count, int ms = 3000) {
    return vorntest::pumpUntil([&] { return seen.size() >= count; }, ms);
  }
  void connectAndAccept() {
    start();
    connection_->connect();
    ASSERT_TRUE(waitFor(2));
    ASSERT_EQ(ConnectionRequest::Connected, seen[1].kind);
    peer_ = accept(listener_, nullptr, nullptr);
    ASSERT_NE(INVALID_SOCKET, peer_);
    seen.clear();
  }
  void peerSends(const std::string& text) {
    ASSERT_EQ(static_cast<int>(text.size()),
              ::send(peer_, text.data(), static_cast<int>(text.size()), 0));
  }

  HWND receiver_ = nullptr;
  u_short port_ = 0;
  SOCKET listener_ = INVALID_SOCKET;
  SOCKET peer_ = INVALID_SOCKET;
  ClientConnection* connection_ = nullptr;
};

// A listener whose accept queue is full: a further connect stays blocked on its SYN.
class StalledListener {
 public:
  StalledListener() {
    listener_ = loopback::listening(&port_, 0);
    for (SOCKET& s : fillers_) {
      s = socket(AF_INET, SOCK_STREAM, 0);
      loopback::connectTo(s, port_);
    }
  }
  ~StalledListener() {
    for (SOCKET s : fillers_) closesocket(s);
    closesocket(accepted_);
    closesocket(listener_);
  }
  int port() const { return port_; }
  // Takes the queued connection, so a connect still trying gets through at its next SYN.
  void release() { accepted_ = accept(listener_, nullptr, nullptr); }

 private:
  SOCKET accepted_ = INVALID_SOCKET;
  u_short port_ = 0;
  SOCKET listener_;
  SOCKET fillers_[1];
};

TEST_F(ConnectionTest, WalksTheServersInOrderUntilOneAccepts) {
  int refused = refusedPort();
  ASSERT_TRUE(connection_->addServer("127.0.0.1", refused, false));
  ASSERT_TRUE(connection_->addServer("127.0.0.1", port_, false));
  start();
  EXPECT_FALSE(connection_->isConnected());
  connection_->connect();
  ASSERT_TRUE(waitFor(3));
  ASSERT_EQ(3u, seen.size());
  const Seen expected[] = {{ConnectionRequest::TryConnect, true, "127.0.0.1", refused},
                           {ConnectionRequest::TryConnect, true, "127.0.0.1", port_},
                           {ConnectionRequest::Connected, true, "127.0.0.1", port_}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i].kind, seen[i].kind);
    EXPECT_EQ(expected[i].text, seen[i].text);
    EXPECT_EQ(expected[i].value, seen[i].value);
  }
  EXPECT_TRUE(connection_->isConnected());
}

TEST_F(ConnectionTest, AllServersRefusedGivesOneConnectedWithoutHostThenIdle) {
  int first = refusedPort(), second = refusedPort();
  connection_->addServer("127.0.0.1", first, false);
  connection_->addServer("127.0.0.1", second, false);
  start();
  connection_->connect();
  ASSERT_TRUE(waitFor(3));
  vorntest::pumpFor(300);  // no retry follows
  ASSERT_EQ(3u, seen.size());
  EXPECT_EQ(first, seen[0].value);
  EXPECT_EQ(second, seen[1].value);
  EXPECT_EQ(ConnectionRequest::Connected, seen[2].kind);
  EXPECT_FALSE(seen[2].hasText);
  EXPECT_EQ(-1, seen[2].value);
  EXPECT_FALSE(connection_->isConnected());
  // The next connect starts again with the first server.
  seen.clear();
  connection_->connect();
  ASSERT_TRUE(waitFor(1));
  EXPECT_EQ(first, seen[0].value);
}

TEST_F(ConnectionTest, DataArrivesInBoundedChunksWithTheirLength) {
  connection_->addServer("127.0.0.1", port_, false);
  connectAndAccept();
  std::string big(70000, 'x');
  for (size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>('a' + i % 26);
  peerSends(big);
  std::string got;
  ASSERT_TRUE(vorntest::pumpUntil(
      [&] {
        got.clear();
        for (const Seen& s : seen) got += s.text;
        return got.size() >= big.size();
      },
      3000));
  EXPECT_EQ(big, got);
  for (const Seen& s : seen) {
    EXPECT_EQ(ConnectionRequest::Data, s.kind);
    EXPECT_LE(s.value, ClientConnection::MaxChunk);
    EXPECT_EQ(static_cast<int>(s.text.size()), s.value);
  }
}

TEST_F(ConnectionTest, PeerCloseIsOneClosedAndTheWalkStartsOver) {
  connection_->addServer("127.0.0.1", port_, false);
  connection_->addServer("127.0.0.1", refusedPort(), false);
  connectAndAccept();
  closesocket(peer_);
  peer_ = INVALID_SOCKET;
  ASSERT_TRUE(waitFor(1));
  vorntest::pumpFor(200);
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(ConnectionRequest::Closed, seen[0].kind);
  EXPECT_FALSE(seen[0].hasText);
  EXPECT_EQ(0, seen[0].value);
  EXPECT_FALSE(connection_->isConnected());
  vorntest::pumpFor(150);  // one idle round rewinds the walk
  seen.clear();
  connection_->connect();
  ASSERT_TRUE(waitFor(2));
  EXPECT_EQ(port_, seen[0].value);
  EXPECT_EQ(ConnectionRequest::Connected, seen[1].kind);
}

TEST_F(ConnectionTest, AResetIsASocketErrorWithItsText) {
  connection_->addServer("127.0.0.1", port_, false);
  start();
  connection_->connect();
  ASSERT_TRUE(waitFor(2));
  seen.clear();
  // Connected but never accepted: dropping the listener resets the connection.
  closesocket(listener_);
  listener_ = INVALID_SOCKET;
  ASSERT_TRUE(waitFor(1));
  vorntest::pumpFor(100);
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(ConnectionRequest::SocketError, seen[0].kind);
  EXPECT_EQ("The connection has been broken.", seen[0].text);
  EXPECT_EQ(0, seen[0].value);
  EXPECT_FALSE(connection_->isConnected());
}

TEST_F(ConnectionTest, SendWritesWhenConnectedAndComplainsAtOnceWhenNot) {
  connection_->send("early");  // handled on this thread before send returns
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(ConnectionRequest::SocketError, seen[0].kind);
  EXPECT_EQ("You are not connected.", seen[0].text);
  seen.clear();
  connection_->addServer("127.0.0.1", port_, false);
  connectAndAccept();
  connection_->send("hello\n");
  char buffer[8] = {0};
  EXPECT_EQ(6, recv(peer_, buffer, 6, MSG_WAITALL));
  EXPECT_STREQ("hello\n", buffer);
  // A disconnect reports its own Closed, and the interrupted receive nothing more.
  connection_->disconnect();
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(ConnectionRequest::Closed, seen[0].kind);
  vorntest::pumpFor(200);
  EXPECT_EQ(1u, seen.size());
}

TEST_F(ConnectionTest, DisconnectDuringABlockedConnectWins) {
  StalledListener stalled;
  connection_->addServer("127.0.0.1", stalled.port(), false);
  connection_->addServer("127.0.0.1", port_, false);
  start();
  connection_->connect();
  ASSERT_TRUE(waitFor(1));
  EXPECT_EQ(stalled.port(), seen[0].value);
  Sleep(50);
  connection_->disconnect();
  // Even a connect that got through after all must not turn into a connection.
  stalled.release();
  vorntest::pumpFor(1300);
  ASSERT_EQ(1u, seen.size()) << "kind " << seen.back().kind;
  EXPECT_FALSE(connection_->isConnected());
}

TEST_F(ConnectionTest, TermEndsAThreadStillConnecting) {
  StalledListener stalled;
  connection_->addServer("127.0.0.1", stalled.port(), false);
  start();
  connection_->connect();
  ASSERT_TRUE(waitFor(1));
  Sleep(50);
  auto begin = std::chrono::steady_clock::now();
  connection_->term();
  auto took = std::chrono::steady_clock::now() - begin;
  EXPECT_LT(took, std::chrono::seconds(2));
  vorntest::pumpFor(100);
  EXPECT_EQ(1u, seen.size());
}

TEST_F(ConnectionTest, ServerListRefusesDuplicatesAndKeepsTheLastServer) {
  ASSERT_TRUE(connection_->addServer("chat.example", 23, false));
  EXPECT_FALSE(connection_->addServer("CHAT.Example", 23, true));
  EXPECT_TRUE(connection_->addServer("chat.example", 24, true));
  EXPECT_EQ(24, connection_->getDefaultServer()->port);
  connection_->setDefaultServer("Chat.Example", 23);
  EXPECT_EQ(23, connection_->getDefaultServer()->port);
  EXPECT_TRUE(connection_->removeServer("chat.example", 23));
  vorntest::clearMessageBoxes();
  vorntest::answerNextMessageBox(IDOK);
  EXPECT_FALSE(connection_->removeServer("chat.example", 24));
  auto boxes = vorntest::shownMessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("You can't remove the last server !", boxes[0].text);
  EXPECT_EQ("Server Error", boxes[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), boxes[0].flags);
  EXPECT_NE(nullptr, connection_->findServer("chat.example", 24));
}

}  // namespace
