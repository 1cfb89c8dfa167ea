// What the chat server does with hard input: lines cut and cleaned, overlong and binary lines,
// abrupt disconnects, many clients at once, and time stamps with the telnet echo.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "outside/chatserver/ChatServer.h"
#include "outside/chatserver/LineReader.h"
#include "outside/tests/TestClient.h"

namespace {

TEST(LineReaderTest, CutsLinesAndDropsWhatWouldHarmTheReceivers) {
  const struct {
    std::string bytes;
    bool telnet;
    std::vector<std::string> lines;  // "+" in front: cut at the length
  } cases[] = {
      {"a\nb\r\n\r\n", false, {"a", "b", ""}},
      {std::string("n\0u\0l\n", 6), false, {"nul"}},
      {"mid\rdle\n", false, {"mid\rdle"}},
      {"unfin", false, {}},
      {"0123456789abc\nnext\n", false, {"+01234567", "next"}},
      {"01234567\n", false, {"+01234567"}},
      {"\xff\xfd\x01pw\n", true, {"pw"}},
      {"a\xff\xff"
       "b\n",
       true,
       {"a\xff"
        "b"}},
      {"x\xff\xfa\x18\x01\xff\xf0y\xff\xf1z\n", true, {"xyz"}},
      {"\xff\xfd\x01pw\n", false, {"\xff\xfd\x01pw"}},
  };
  for (const auto& c : cases) {
    // Byte by byte and all at once give the same lines.
    for (bool oneByOne : {false, true}) {
      LineReader reader(8, c.telnet);
      std::vector<ReadLine> lines;
      if (oneByOne)
        for (char byte : c.bytes) reader.feed(&byte, 1, lines);
      else
        reader.feed(c.bytes.data(), c.bytes.size(), lines);
      std::vector<std::string> texts;
      for (const ReadLine& line : lines) texts.push_back((line.cut ? "+" : "") + line.text);
      EXPECT_EQ(c.lines, texts) << c.bytes;
    }
  }
}

class ChatServerInputTest : public ::testing::Test {
 protected:
  void start(bool stampAndTelnet = false) {
    ChatServerOptions o;
    o.stamp = o.telnet = stampAndTelnet;
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

TEST_F(ChatServerInputTest, OverlongBinaryAndHalfSentLinesDoNotHurt) {
  start();
  auto bob = user("bob");
  auto carol = user("carol");
  std::string x64(64, 'x');
  bob->send(std::string(64 + 100000, 'x') + "\nafter\n");
  EXPECT_TRUE(bob->waitFor("<Nev> Line too long, cut at 64 characters.\n"));
  EXPECT_TRUE(carol->waitFor("<bob> " + x64 + "\n<bob> after\n"));
  EXPECT_EQ((std::vector<std::string>{"bob", x64, "after"}), server->transcript("bob"));
  std::string binary;
  for (int i = 1; i < 256; ++i)
    if (i != '\n') binary += static_cast<char>(i);
  // A NUL would end the data at the receiving client: it never goes out.
  bob->send(std::string("a\0b\0", 4) + "\n" + binary.substr(0, 50) + "\n" + binary.substr(100) +
            "\nhalf a li");
  EXPECT_TRUE(carol->waitFor("<bob> ab\n<bob> " + binary.substr(0, 50) + "\n"));
  bob->drain(20);
  bob.reset();
  EXPECT_TRUE(carol->waitFor("<-- bob leaves: connection lost\n"));
  EXPECT_EQ(std::string::npos, carol->unread().find("half"));
  // Clients that go before or during the login leave nothing behind.
  TestClient(server->port()).send("dav");
  {
    TestClient password(server->port());
    ASSERT_TRUE(password.waitFor("<Nev> Login: "));
    password.send("alice\n");
    ASSERT_TRUE(password.waitFor("<Nev> Password: "));
  }
  carol->send("who all\n");
  EXPECT_TRUE(carol->waitFor("=== 1 users ===\n"));
}

TEST_F(ChatServerInputTest, ManyClientsAtOnce) {
  start();
  std::vector<std::unique_ptr<TestClient>> clients;
  for (int i = 0; i < 60; ++i) clients.push_back(user("user" + std::to_string(i)));
  clients[7]->send("shout everyone\n");
  for (int i = 0; i < 60; ++i)
    EXPECT_TRUE(clients[i]->waitFor(i == 7 ? "You shout: everyone\n" : "user7 shouts: everyone\n"));
  EXPECT_EQ(60, server->connectionCount());
  clients.clear();
  for (int tries = 0; tries < 300 && server->connectionCount() > 0; ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(0, server->connectionCount());
}

// Every line and prompt starts with "HH:MM:SS "; the echo bytes sit behind the stamp, and the
// client's own answer to the echo offer is no part of the password.
TEST_F(ChatServerInputTest, StampsAndTelnetEcho) {
  start(true);
  TestClient a(server->port());
  ASSERT_TRUE(a.waitFor("<Nev> Login: "));
  a.send("alice\n");
  ASSERT_TRUE(a.waitFor("<Nev> Password: "));
  a.send("\xff\xfd\x01secret\n");
  ASSERT_TRUE(a.waitFor("<Nev> Welcome alice, you are logged in.\n"));
  std::string text = a.received();
  for (size_t at :
       {text.find("<Nev> Welcome to"), text.find("<Nev> Login"),
        text.find("\xff\xfb\x01<Nev> Password"), text.find("\xff\xfc\x01<Nev> Welcome")})
    EXPECT_TRUE(at >= 9 && text[at - 1] == ' ' && text[at - 7] == ':' && isdigit(text[at - 9]))
        << text;
  EXPECT_EQ((std::vector<std::string>{"alice", "secret"}), server->transcript("alice"));
}

}  // namespace
