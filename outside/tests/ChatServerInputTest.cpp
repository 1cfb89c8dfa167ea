#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "outside/chatserver/ChatServer.h"
#include "outside/chatserver/LineReader.h"
#include "outside/tests/TestClient.h"

namespace {

TEST(LineReaderTest, CutsLinesAndDropsWhatWouldHarmTheReceivers) {
  struct Case {
    std::string bytes;
    bool telnet;
    std::vector<std::string> lines;
    std::vector<bool> cut;
  };
  const Case cases[] = {
      {"a\nb\r\n\r\n", false, {"a", "b", ""}, {false, false, false}},
      {std::string("n\0u\0l\n", 6), false, {"nul"}, {false}},
      {"mid\rdle\n", false, {"mid\rdle"}, {false}},
      {"unfin", false, {}, {}},
      {"0123456789abc\nnext\n", false, {"01234567", "next"}, {true, false}},
      {"01234567\n", false, {"01234567"}, {true}},
      {"\xff\xfd\x01pw\n", true, {"pw"}, {false}},
      {"a\xff\xff"
       "b\n",
       true,
       {"a\xff"
        "b"},
       {false}},
      {"x\xff\xfa\x18\x01\xff\xf0y\xff\xf1z\n", true, {"xyz"}, {false}},
      {"\xff\xfd\x01pw\n", false, {"\xff\xfd\x01pw"}, {false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    // Byte by byte and all at once give the same lines.
    for (bool oneByOne : {false, true}) {
      LineReader reader(8, c.telnet);
      std::vector<ReadLine> lines;
      if (oneByOne)
        for (char byte : c.bytes) reader.feed(&byte, 1, lines);
      else
        reader.feed(c.bytes.data(), c.bytes.size(), lines);
      ASSERT_EQ(lines.size(), c.lines.size());
      for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, c.lines[i]);
        EXPECT_EQ(lines[i].cut, c.cut[i]);
      }
    }
  }
}

class ChatServerInputTest : public ::testing::Test {
 protected:
  void startServer(bool stamp, bool telnet) {
    ChatServerOptions o;
    o.stamp = stamp;
    o.telnet = telnet;
    o.maxLine = 64;
    server = std::make_unique<ChatServer>(o);
    server->addUser("alice", "secret", "User");
    ASSERT_TRUE(server->start()) << server->error();
  }

  std::unique_ptr<TestClient> user(const std::string& name) {
    auto client = std::make_unique<TestClient>(server->port());
    EXPECT_TRUE(client->login(name));
    client->drain(20);
    client->forget();
    return client;
  }

  std::unique_ptr<ChatServer> server;
};

TEST_F(ChatServerInputTest, OverlongLinesAreCutAndTheRestDropped) {
  startServer(false, false);
  auto bob = user("bob");
  auto carol = user("carol");
  bob->send(std::string(64 + 100000, 'x') + "\nafter\n");
  EXPECT_TRUE(bob->waitFor("<Nev> Line too long, cut at 64 characters.\n"));
  EXPECT_TRUE(carol->waitFor("<bob> " + std::string(64, 'x') + "\n"));
  EXPECT_TRUE(carol->waitFor("<bob> after\n"));
  EXPECT_EQ(carol->unread(), "");
  EXPECT_EQ(server->transcript("bob"),
            (std::vector<std::string>{"bob", std::string(64, 'x'), "after"}));
}

TEST_F(ChatServerInputTest, BinaryBytesAndNulsDoNotHurt) {
  startServer(false, false);
  auto bob = user("bob");
  auto carol = user("carol");
  std::string binary;
  for (int i = 1; i < 256; ++i)
    if (i != '\n') binary += static_cast<char>(i);
  bob->send(std::string("a\0b\0", 4) + "\n" + binary.substr(0, 50) + "\n");
  // A NUL would end the data at the receiving client: it never goes out.
  EXPECT_TRUE(carol->waitFor("<bob> ab\n"));
  EXPECT_TRUE(carol->waitFor("<bob> " + binary.substr(0, 50) + "\n"));
  bob->send(binary.substr(100) + "\n");
  carol->send("still here\n");
  EXPECT_TRUE(bob->waitFor("<carol> still here\n"));
}

TEST_F(ChatServerInputTest, AbruptDisconnectsMidLineAndBeforeLogin) {
  startServer(false, false);
  auto carol = user("carol");
  {
    auto bob = user("bob");
    bob->send("half a li");
    bob->drain(20);
  }
  EXPECT_TRUE(carol->waitFor("<-- bob leaves: connection lost\n"));
  EXPECT_EQ(carol->unread().find("half"), std::string::npos);
  {
    TestClient early(server->port());
    early.send("dav");
  }
  {
    TestClient password(server->port());
    ASSERT_TRUE(password.waitFor("<Nev> Login: "));
    password.send("alice\n");
    ASSERT_TRUE(password.waitFor("<Nev> Password: "));
  }
  auto bob = user("bob");
  bob->send("who all\n");
  EXPECT_TRUE(bob->waitFor("=== 2 users ===\n"));
}

TEST_F(ChatServerInputTest, ManyClientsAtOnce) {
  startServer(false, false);
  std::vector<std::unique_ptr<TestClient>> clients;
  const int count = 60;
  for (int i = 0; i < count; ++i) clients.push_back(user("user" + std::to_string(i)));
  clients[7]->send("shout everyone\n");
  for (int i = 0; i < count; ++i)
    EXPECT_TRUE(clients[i]->waitFor(i == 7 ? "You shout: everyone\n" : "user7 shouts: everyone\n"));
  clients[0]->send("who all\n");
  EXPECT_TRUE(clients[0]->waitFor("=== 60 users ===\n"));
  EXPECT_EQ(server->connectionCount(), count);
  clients.clear();
  for (int tries = 0; tries < 300 && server->connectionCount() > 0; ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(server->connectionCount(), 0);
}

TEST_F(ChatServerInputTest, StampsAndTelnetEcho) {
  startServer(true, true);
  TestClient a(server->port());
  std::string stamp = "([0-2][0-9]:[0-5][0-9]:[0-5][0-9] )";
  ASSERT_TRUE(a.waitFor("<Nev> Login: "));
  a.send("alice\n");
  ASSERT_TRUE(a.waitFor("<Nev> Password: "));
  // The client's own answer to the echo offer is no part of the password.
  a.send("\xff\xfd\x01secret\n");
  ASSERT_TRUE(a.waitFor("<Nev> Welcome alice, you are logged in.\n"));
  std::vector<std::string> lines = a.lines();
  ASSERT_EQ(lines.size(), 2u);
  std::string text = a.received();
  // Every line and prompt starts with "HH:MM:SS "; the echo bytes sit behind the stamp.
  EXPECT_EQ(lines[0].substr(9), "<Nev> Welcome to the NevChat test server\n");
  EXPECT_EQ(lines[1].substr(9, 13), "<Nev> Login: ");
  size_t password = lines[1].find("<Nev> Password: ");
  ASSERT_NE(password, std::string::npos);
  EXPECT_EQ(lines[1].substr(password - 3, 3), "\xff\xfb\x01");
  EXPECT_EQ(lines[1].substr(password + 16 + 9, 3), "\xff\xfc\x01");
  EXPECT_EQ(lines[1].substr(password + 16 + 12), "<Nev> Welcome alice, you are logged in.\n");
  for (const std::string& line : lines) {
    EXPECT_TRUE(isdigit(line[0]) && isdigit(line[1]) && line[2] == ':' && line[8] == ' ') << line;
  }
  EXPECT_EQ(server->transcript("alice"), (std::vector<std::string>{"alice", "secret"}));
}

}  // namespace
