// The chat server as a client sees it: the login dialogue and its refusals, chat commands,
// channels, the who listing, relayed data and the groups refused it, and the admin's commands.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "outside/chatserver/ChatServer.h"
#include "outside/chatserver/ChatText.h"
#include "outside/tests/TestClient.h"

namespace {

class ChatServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ChatServerOptions o;
    o.stamp = false;
    o.maxLine = 256;
    server = std::make_unique<ChatServer>(o);
    server->addUser("alice", "secret", "");
    ASSERT_TRUE(server->start()) << server->error();
  }
  // A logged-in client whose received text so far is forgotten; no name: not logged in.
  std::unique_ptr<TestClient> user(const std::string& name = "", const std::string& pw = "") {
    auto client = std::make_unique<TestClient>(server->port());
    EXPECT_TRUE(client->connected());
    if (name.empty()) return client;
    EXPECT_TRUE(client->login(name, pw)) << client->received();
    client->drain(20);
    client->forget();
    return client;
  }
  // Sends the line and waits for each text at its client.
  static void say(TestClient& from, const std::string& line,
                  std::initializer_list<std::pair<TestClient*, std::string>> heard) {
    from.send(line + "\n");
    for (const auto& [who, text] : heard) EXPECT_TRUE(who->waitFor(text)) << line << ": " << text;
  }

  std::unique_ptr<ChatServer> server;
};

TEST_F(ChatServerTest, LoginDialogueRefusalsAndTheEndOfRetries) {
  auto a = user();
  EXPECT_TRUE(a->waitFor("<Nev> Welcome to the NevChat test server\n<Nev> Login: "));
  say(*a, "alice", {{a.get(), "<Nev> Password: "}});
  say(*a, "wrong\r", {{a.get(), "<Nev> Invalid password !\n<Nev> Login: "}});
  say(*a, "alice", {{a.get(), "<Nev> Password: "}});
  say(*a, "secret", {{a.get(), "<Nev> Welcome alice, you are logged in.\n"}});
  // No account: a guest comes in at once, and the others hear of it.
  auto bob = user("bob");
  EXPECT_TRUE(a->waitFor("--> bob comes in.\n"));
  EXPECT_TRUE(server->isLoggedIn("BOB"));
  EXPECT_EQ((std::vector<std::string>{"alice", "wrong", "alice", "secret"}),
            server->transcript("alice"));

  auto c = user();
  say(*c, "BOB", {{c.get(), "<Nev> BOB is already logged in !\n"}});
  // Five failures in a row end the connection instead of looping with a client's saved login.
  for (const char* name : {"Nev", "you", "two words", "seventeen_letters"})
    say(*c, name, {{c.get(), "<Nev> Invalid login name !\n"}});
  EXPECT_TRUE(c->waitForClose());
  EXPECT_NE(std::string::npos, c->received().find("<Nev> Too many failed logins, bye.\n"));
}

TEST_F(ChatServerTest, ChatTellShoutEmoteAwayAndListings) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  TestClient* a = alice.get();
  TestClient* b = bob.get();
  say(*a, "hello bob", {{a, "<alice> hello bob\n"}, {b, "<alice> hello bob\n"}});
  say(*a, ".t bob psst", {{a, "You tell bob: psst\n"}, {b, "alice tells you: psst\n"}});
  say(*b, "away", {{b, "You are now away.\n"}, {a, "<Nev> bob is now away.\n"}});
  say(*a, "tell bob hi", {{a, "You tell bob: hi\n<Nev> bob is away and may not answer.\n"}});
  say(*b, "back", {{b, "You are back.\n"}, {a, "<Nev> bob is back.\n"}});
  say(*a, "shout hey", {{a, "You shout: hey\n"}, {b, "alice shouts: hey\n"}});
  say(*b, "emote waves", {{a, "* bob waves\n"}});
  say(*a, "tell carol hi", {{a, "<Nev> carol is not logged in.\n"}});
  // A name that is not a plain word never comes back: it could imitate a prompt.
  say(*a, "tell Password: hi", {{a, "<Nev> No such user.\n"}});
  say(*b, "msg alice see you", {{b, "<Nev> Message stored for alice.\n"}});
  say(*b, "post on the wall", {{b, "<Nev> Posted on the wall.\n"}});
  std::string date = dateOf(std::time(nullptr));
  say(*a, "messages",
      {{a, "<Nev> Messages\n#1 " + date + " bob : see you\n<Nev> End of messages\n"}});
  say(*a, "wall", {{a, "<Nev> Wall\n" + date + " bob : on the wall\n"}});
  say(*a, "info", {{a, "=== Info ===\n  Server : NevChat test server\n  Users  : 2\n"}});
  say(*a, "quit see you later", {{b, "<-- alice leaves: see you later\n"}});
  EXPECT_TRUE(a->waitForClose());
}

TEST_F(ChatServerTest, ChannelsWhoBumpAndKick) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  auto carol = user("carol");
  TestClient *a = alice.get(), *b = bob.get(), *c = carol.get();
  b->send("set client Vornith 2.00\n");
  say(*b, "join Dessin",
      {{b, "You join the channel Dessin.\n"}, {a, "<Nev> bob joins the channel Dessin\n"}});
  say(*b, "topic drawing only", {{b, "<Nev> bob sets the topic: drawing only\n"}});
  say(*c, "join Dessin",
      {{c, "You join the channel Dessin.\n<Nev> Topic: drawing only\n"},
       {b, "--> carol comes from the channel Hall\n"}});
  // Chat stays in its channel.
  a->send("in the hall\n");
  say(*c, "in dessin", {{b, "<carol> in dessin\n"}});
  EXPECT_EQ(std::string::npos, b->unread().find("in the hall"));
  EXPECT_TRUE(server->setIdle("bob", "20m"));
  EXPECT_FALSE(server->setIdle("bob", "two words"));
  say(*a, "who all",
      {{a,
        "=== Who list ===\n-----\n"
        "> alice            -          0m     Hall             User\n"
        "> bob              Vornith    20m    Dessin           User\n"
        "> carol            -          0m     Dessin           User\n"
        "-----\n=== 3 users ===\n"}});
  say(*a, "who is there", {{a, "<alice> who is there\n"}});  // "who" with other words is chat
  say(*c, "join _hidden", {{b, "<-- carol fades away\n"}});
  say(*c, "leave",
      {{c, "You leave the channel _hidden.\n"}, {b, "<-- carol goes back to the Hall\n"}});
  say(*a, "bump bob",
      {{a, "You bump bob.\n"}, {b, "You have been bumped to the Hall by alice.\n"}});
  say(*a, "kick bob",
      {{b, "You have been kicked out by alice.\n"},
       {c, "<Nev> bob has been kicked out by alice\n"}});
  EXPECT_TRUE(b->waitForClose());
  say(*a, "kick alice", {{a, "<Nev> You can't kick yourself.\n"}});
}

TEST_F(ChatServerTest, SenddataIsRelayedUntouchedExceptForRefusingGroups) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  for (const std::string payload :
       {"VREQ PING", "[Varazir][Send][a b.txt][12][3][127.0.0.1][4000][pw] rest",
        "  leading blanks and trailing blanks  ", "bytes \x01\x7f\xc3\xa9\xff end"})
    say(*alice, "senddata bob " + payload, {{bob.get(), "[data] alice " + payload + "\n"}});
  say(*alice, "senddata nobody VREQ PING", {{alice.get(), "<Nev> nobody is not logged in.\n"}});
  say(*alice, "senddata bob", {{alice.get(), "<Nev> Usage: senddata NICK DATA\n"}});
  bob->forget();
  for (const char* group : {"Emote", "Register", "NoGroup", "Aubel", "banned"}) {
    ASSERT_TRUE(server->setGroup("alice", group));
    say(*alice, "senddata bob VREQ VERSION",
        {{alice.get(), "<Nev> Your group can't send data.\n"}});
  }
  EXPECT_FALSE(server->setGroup("alice", "Two words"));
  bob->drain(50);
  EXPECT_EQ(std::string::npos, bob->received().find("[data]"));
}

TEST_F(ChatServerTest, AdminCommands) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  EXPECT_TRUE(server->moved("alice", "127.0.0.1", 4778));
  EXPECT_TRUE(alice->waitFor("<Nev> Server moved to 127.0.0.1 4778\n"));
  EXPECT_FALSE(server->moved("alice", "127.0.0.1", 0));
  EXPECT_FALSE(server->moved("nobody", "127.0.0.1", 1));
  // Raw bytes go out exactly as given, to one user or to everyone.
  EXPECT_TRUE(server->inject("*", "raw\n"));
  EXPECT_TRUE(bob->waitFor("raw\n"));
  EXPECT_TRUE(server->inject("bob", "<Nev> Password: "));
  EXPECT_TRUE(bob->waitFor("<Nev> Password: "));
  // The text form the program reads on its standard input.
  const std::pair<const char*, const char*> commands[] = {
      {"to alice hi there", "hi there\n"},
      {"group alice Banned", "Your group is now Banned.\n"},
      {"badserver alice h 2", "<Nev> Wrong server, use h 2\n"},
  };
  for (const auto& [command, heard] : commands) {
    EXPECT_EQ("ok", server->adminCommand(command));
    EXPECT_TRUE(alice->waitFor(heard)) << command;
  }
  EXPECT_EQ("error: unknown command frobnicate", server->adminCommand("frobnicate"));
  EXPECT_NE(std::string::npos, server->adminCommand("drop nobody").find("error"));
  EXPECT_EQ("ok", server->adminCommand("drop bob"));
  EXPECT_TRUE(bob->waitForClose());
  EXPECT_TRUE(alice->waitFor("<-- bob leaves: dropped\n"));
  EXPECT_FALSE(server->isLoggedIn("bob"));
}

}  // namespace
