// The receive thread against listeners on 127.0.0.1: the server walk, data, closes, errors,
// and disconnects or terms that arrive while a connect is still blocked; the server list.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
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

using loopback::refusedPort;

class ConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    seen.clear();
    static bool registered = [] {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = receiverProc;
      wc.lpszClassName = "ConnectionTestReceiver";
      return RegisterClassExA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    receiver = CreateWindowExA(0, "ConnectionTestReceiver", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    listener = loopback::listening(&port);
    ASSERT_NE(INVALID_SOCKET, listener);
    connection = new ClientConnection(receiver);
    connection->setOwner(kOwner, nullptr);
  }
  void TearDown() override {
    delete connection;
    // Requests the thread posted last are freed by the receiver before it goes.
    vorntest::pumpFor(10);
    for (SOCKET s : {peer, listener}) closesocket(s);
    DestroyWindow(receiver);
    seen.clear();
  }

  // The thread as the client starts it (a tiny requested stack, resumed at once), asked to
  // connect.
  void startConnecting() {
    ASSERT_TRUE(connection->create(1024));
    connection->resume();
    connection->connect();
  }
  bool waitFor(size_t count, int ms = 3000) {
    return vorntest::pumpUntil([&] { return seen.size() >= count; }, ms);
  }
  void connectAndAccept() {
    startConnecting();
    ASSERT_TRUE(waitFor(2));
    ASSERT_EQ(ConnectionRequest::Connected, seen[1].kind);
    peer = accept(listener, nullptr, nullptr);
    ASSERT_NE(INVALID_SOCKET, peer);
    seen.clear();
  }
  // "kind text value" of each request seen.
  std::vector<std::string> requests() {
    std::vector<std::string> out;
    for (const Seen& s : seen)
      out.push_back(std::to_string(s.kind) + " " + (s.hasText ? s.text : "(null)") + " " +
                    std::to_string(s.value));
    return out;
  }
  static std::string request(int kind, const char* text, int value) {
    return std::to_string(kind) + " " + text + " " + std::to_string(value);
  }

  HWND receiver = nullptr;
  u_short port = 0;
  SOCKET listener = INVALID_SOCKET;
  SOCKET peer = INVALID_SOCKET;
  ClientConnection* connection = nullptr;
};

// A listener whose accept queue is full: a further connect stays blocked on its SYN.
class StalledListener {
 public:
  StalledListener() {
    listener = loopback::listening(&port, 0);
    filler = socket(AF_INET, SOCK_STREAM, 0);
    loopback::connectTo(filler, port);
  }
  ~StalledListener() {
    for (SOCKET s : {filler, accepted, listener}) closesocket(s);
  }
  // Takes the queued connection, so a connect still trying gets through at its next SYN.
  void release() { accepted = accept(listener, nullptr, nullptr); }
  u_short port = 0;
  SOCKET listener, filler, accepted = INVALID_SOCKET;
};

TEST_F(ConnectionTest, WalksTheServersInOrderUntilOneAccepts) {
  int refused = refusedPort();
  connection->addServer("127.0.0.1", refused, false);
  connection->addServer("127.0.0.1", port, false);
  startConnecting();
  ASSERT_TRUE(waitFor(3));
  EXPECT_EQ((std::vector<std::string>{request(ConnectionRequest::TryConnect, "127.0.0.1", refused),
                                      request(ConnectionRequest::TryConnect, "127.0.0.1", port),
                                      request(ConnectionRequest::Connected, "127.0.0.1", port)}),
            requests());
  EXPECT_TRUE(connection->isConnected());
}

TEST_F(ConnectionTest, AllServersRefusedGivesOneConnectedWithoutHostThenIdle) {
  int first = refusedPort(), second = refusedPort();
  connection->addServer("127.0.0.1", first, false);
  connection->addServer("127.0.0.1", second, false);
  startConnecting();
  ASSERT_TRUE(waitFor(3));
  vorntest::pumpFor(300);  // no retry follows
  EXPECT_EQ((std::vector<std::string>{request(ConnectionRequest::TryConnect, "127.0.0.1", first),
                                      request(ConnectionRequest::TryConnect, "127.0.0.1", second),
                                      request(ConnectionRequest::Connected, "(null)", -1)}),
            requests());
  EXPECT_FALSE(connection->isConnected());
  // The next connect starts again with the first server.
  seen.clear();
  connection->connect();
  ASSERT_TRUE(waitFor(1));
  EXPECT_EQ(first, seen[0].value);
}

TEST_F(ConnectionTest, DataArrivesInBoundedChunksWithTheirLength) {
  connection->addServer("127.0.0.1", port, false);
  connectAndAccept();
  std::string big(70000, 'x');
  for (size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>('a' + i % 26);
  ASSERT_EQ(static_cast<int>(big.size()), ::send(peer, big.data(), (int)big.size(), 0));
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
  connection->addServer("127.0.0.1", port, false);
  connection->addServer("127.0.0.1", refusedPort(), false);
  connectAndAccept();
  closesocket(peer);
  peer = INVALID_SOCKET;
  ASSERT_TRUE(waitFor(1));
  vorntest::pumpFor(200);
  EXPECT_EQ(std::vector<std::string>{request(ConnectionRequest::Closed, "(null)", 0)}, requests());
  EXPECT_FALSE(connection->isConnected());
  vorntest::pumpFor(150);  // one idle round rewinds the walk
  seen.clear();
  connection->connect();
  ASSERT_TRUE(waitFor(2));
  EXPECT_EQ(port, seen[0].value);
  EXPECT_EQ(ConnectionRequest::Connected, seen[1].kind);
}

TEST_F(ConnectionTest, AResetIsASocketErrorWithItsText) {
  connection->addServer("127.0.0.1", port, false);
  startConnecting();
  ASSERT_TRUE(waitFor(2));
  seen.clear();
  // Connected but never accepted: dropping the listener resets the connection.
  closesocket(listener);
  listener = INVALID_SOCKET;
  ASSERT_TRUE(waitFor(1));
  vorntest::pumpFor(100);
  EXPECT_EQ(std::vector<std::string>{request(ConnectionRequest::SocketError,
                                             "The connection has been broken.", 0)},
            requests());
  EXPECT_FALSE(connection->isConnected());
}

TEST_F(ConnectionTest, SendWritesWhenConnectedAndComplainsAtOnceWhenNot) {
  connection->send("early");  // handled on this thread before send returns
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ("You are not connected.", seen[0].text);
  seen.clear();
  connection->addServer("127.0.0.1", port, false);
  connectAndAccept();
  connection->send("hello\n");
  char buffer[8] = {0};
  EXPECT_EQ(6, recv(peer, buffer, 6, MSG_WAITALL));
  EXPECT_STREQ("hello\n", buffer);
  // A disconnect reports its own Closed, and the interrupted receive nothing more.
  connection->disconnect();
  vorntest::pumpFor(200);
  EXPECT_EQ(std::vector<std::string>{request(ConnectionRequest::Closed, "(null)", 0)}, requests());
}

// A connect while connected goes round the list: the servers after the connected one first,
// the connected one last, each once.
TEST_F(ConnectionTest, ConnectWhileConnectedTriesTheOthersThenTheConnectedOne) {
  int refused = refusedPort();
  connection->addServer("127.0.0.1", port, false);
  connection->addServer("127.0.0.1", refused, false);
  connectAndAccept();
  connection->connect();
  ASSERT_TRUE(waitFor(3));
  EXPECT_EQ((std::vector<std::string>{request(ConnectionRequest::TryConnect, "127.0.0.1", refused),
                                      request(ConnectionRequest::TryConnect, "127.0.0.1", port),
                                      request(ConnectionRequest::Connected, "127.0.0.1", port)}),
            requests());
}

TEST_F(ConnectionTest, ConnectWhileConnectedToTheOnlyServerReconnectsToIt) {
  connection->addServer("127.0.0.1", port, false);
  connectAndAccept();
  connection->connect();
  ASSERT_TRUE(waitFor(2));
  vorntest::pumpFor(100);
  EXPECT_EQ((std::vector<std::string>{request(ConnectionRequest::TryConnect, "127.0.0.1", port),
                                      request(ConnectionRequest::Connected, "127.0.0.1", port)}),
            requests());
  EXPECT_TRUE(connection->isConnected());
}

// NUL bytes are dropped where the chunk becomes text; nothing after them is lost.
TEST_F(ConnectionTest, NulBytesAreDroppedAndTheRestOfTheChunkKept) {
  connection->addServer("127.0.0.1", port, false);
  connectAndAccept();
  ASSERT_EQ(6, ::send(peer, "a\0b\nc\n", 6, 0));
  ASSERT_TRUE(waitFor(1));
  EXPECT_EQ(std::vector<std::string>{request(ConnectionRequest::Data, "ab\nc\n", 5)}, requests());
}

// A server that reads nothing: sends return at once, queue in order and go out once it reads.
TEST_F(ConnectionTest, SendsToAServerThatDoesNotReadQueueInOrder) {
  connection->addServer("127.0.0.1", port, false);
  connectAndAccept();
  // Loopback takes about 4 MB before a peer that reads nothing refuses more.
  connection->getSendQueue().setLimits(16 * 1024 * 1024, 60000);
  std::string line(1023, 'x'), expected;
  for (int i = 0; i < 7000; ++i) expected += std::to_string(i) + line + "\n";
  // The peer starts reading late; a send that waited on it would take that long.
  std::thread reader([&] {
    Sleep(2000);
    std::string got;
    char buffer[65536];
    int n;
    while (got.size() < expected.size() && (n = recv(peer, buffer, sizeof buffer, 0)) > 0)
      got.append(buffer, n);
    EXPECT_TRUE(got == expected) << got.size() << " of " << expected.size();
  });
  auto begin = std::chrono::steady_clock::now();
  for (int i = 0; i < 7000; ++i) connection->send((std::to_string(i) + line + "\n").c_str());
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(1500));
  EXPECT_TRUE(connection->getSendQueue().hasPending());
  reader.join();
  vorntest::pumpFor(50);
  EXPECT_TRUE(seen.empty()) << requests()[0];
  EXPECT_TRUE(connection->isConnected());
}

TEST_F(ConnectionTest, AServerThatTakesNothingIsDisconnectedWithTheReason) {
  connection->addServer("127.0.0.1", port, false);
  connectAndAccept();
  connection->getSendQueue().setLimits(SendQueue::DefaultMaxBytes, 1000);
  std::string line(4095, 'y');
  line += "\n";
  for (int i = 0; i < 10000 && !connection->getSendQueue().hasPending(); ++i)
    connection->send(line.c_str());
  // Loopback still takes a few hundred KB after the first refusal: queue more than that.
  for (int i = 0; i < 256; ++i) connection->send(line.c_str());
  ASSERT_TRUE(waitFor(1, 5000));
  EXPECT_EQ(ConnectionRequest::SocketError, seen[0].kind);
  EXPECT_EQ("The server has taken no data for 1 s: disconnected.", seen[0].text);
  EXPECT_FALSE(connection->isConnected());
  EXPECT_FALSE(connection->getSendQueue().hasPending());
}

TEST_F(ConnectionTest, AQueuePastItsBoundDisconnectsAtOnce) {
  connection->addServer("127.0.0.1", port, false);
  connectAndAccept();
  connection->getSendQueue().setLimits(64 * 1024, 60000);
  std::string line(4095, 'z');
  line += "\n";
  for (int i = 0; i < 10000 && seen.empty(); ++i) connection->send(line.c_str());
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(request(ConnectionRequest::SocketError,
                    "More than 64 KB wait to be sent: disconnected.", 0),
            requests()[0]);
  EXPECT_FALSE(connection->isConnected());
}

TEST_F(ConnectionTest, DisconnectDuringABlockedConnectWins) {
  StalledListener stalled;
  connection->addServer("127.0.0.1", stalled.port, false);
  connection->addServer("127.0.0.1", port, false);
  startConnecting();
  ASSERT_TRUE(waitFor(1));
  EXPECT_EQ(stalled.port, seen[0].value);
  Sleep(50);
  connection->disconnect();
  // Even a connect that got through after all must not turn into a connection.
  stalled.release();
  vorntest::pumpFor(1300);
  EXPECT_EQ(1u, seen.size()) << "kind " << seen.back().kind;
  EXPECT_FALSE(connection->isConnected());
}

TEST_F(ConnectionTest, TermEndsAThreadStillConnecting) {
  StalledListener stalled;
  connection->addServer("127.0.0.1", stalled.port, false);
  startConnecting();
  ASSERT_TRUE(waitFor(1));
  Sleep(50);
  auto begin = std::chrono::steady_clock::now();
  connection->term();
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
  vorntest::pumpFor(100);
  EXPECT_EQ(1u, seen.size());
}

TEST_F(ConnectionTest, ServerListRefusesDuplicatesAndKeepsTheLastServer) {
  ASSERT_TRUE(connection->addServer("chat.example", 23, false));
  EXPECT_FALSE(connection->addServer("CHAT.Example", 23, true));
  EXPECT_TRUE(connection->addServer("chat.example", 24, true));
  EXPECT_EQ(24, connection->getDefaultServer()->port);
  connection->setDefaultServer("Chat.Example", 23);
  EXPECT_EQ(23, connection->getDefaultServer()->port);
  EXPECT_TRUE(connection->removeServer("chat.example", 23));
  vorntest::answerNextMessageBox(IDOK);
  EXPECT_FALSE(connection->removeServer("chat.example", 24));
  ASSERT_EQ(1u, vorntest::shownMessageBoxes().size());
  EXPECT_EQ("You can't remove the last server !", vorntest::shownMessageBoxes()[0].text);
  vorntest::clearMessageBoxes();
  EXPECT_NE(nullptr, connection->findServer("chat.example", 24));
}

}  // namespace
