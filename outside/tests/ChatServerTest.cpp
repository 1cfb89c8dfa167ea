#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "outside/chatserver/ChatServer.h"
#include "outside/chatserver/ChatText.h"
#include "outside/tests/TestClient.h"

namespace {

class ChatServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server = std::make_unique<ChatServer>(options());
    server->addUser("alice", "secret", "");
    ASSERT_TRUE(server->start()) << server->error();
  }

  virtual ChatServerOptions options() {
    ChatServerOptions o;
    o.stamp = false;
    o.maxLine = 256;
    return o;
  }

  std::unique_ptr<TestClient> connect() {
    auto client = std::make_unique<TestClient>(server->port());
    EXPECT_TRUE(client->connected());
    return client;
  }

  // A logged-in client whose received text so far is forgotten.
  std::unique_ptr<TestClient> user(const std::string& name, const std::string& password = "") {
    auto client = connect();
    EXPECT_TRUE(client->login(name, password)) << client->received();
    client->drain(20);
    client->forget();
    return client;
  }

  std::unique_ptr<ChatServer> server;
};

TEST_F(ChatServerTest, LoginDialogueWithAndWithoutPassword) {
  auto a = connect();
  EXPECT_TRUE(a->waitFor("<Nev> Welcome to the NevChat test server\n<Nev> Login: "));
  a->send("alice\n");
  EXPECT_TRUE(a->waitFor("<Nev> Password: "));
  a->send("wrong\r\n");
  EXPECT_TRUE(a->waitFor("<Nev> Invalid password !\n<Nev> Login: "));
  a->send("alice\n");
  EXPECT_TRUE(a->waitFor("<Nev> Password: "));
  a->send("secret\n");
  EXPECT_TRUE(a->waitFor("<Nev> Welcome alice, you are logged in.\n"));

  // No account: a guest comes in at once, and the others hear of it.
  auto b = connect();
  EXPECT_TRUE(b->login("bob"));
  EXPECT_TRUE(a->waitFor("--> bob comes in.\n"));
  EXPECT_TRUE(server->isLoggedIn("BOB"));
  EXPECT_EQ(server->transcript("alice"),
            (std::vector<std::string>{"alice", "wrong", "alice", "secret"}));
}

TEST_F(ChatServerTest, InvalidAndTakenLoginsArePromptedAgainThenRefused) {
  auto bob = user("bob");
  auto c = connect();
  const char* const refused[] = {"Nev", "you", "two words", "seventeen_letters", ""};
  for (const char* name : refused) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(c->waitFor("<Nev> Login: "));
    c->send(std::string(name) + "\n");
    EXPECT_TRUE(c->waitFor("<Nev> Invalid login name !\n"));
  }
  // Five failures in a row end the connection instead of looping with a client's saved login.
  EXPECT_TRUE(c->waitForClose());
  EXPECT_NE(c->received().find("<Nev> Too many failed logins, bye.\n"), std::string::npos);

  auto d = connect();
  ASSERT_TRUE(d->waitFor("<Nev> Login: "));
  d->send("BOB\n");
  EXPECT_TRUE(d->waitFor("<Nev> BOB is already logged in !\n<Nev> Login: "));
  d->send("carol\n");
  EXPECT_TRUE(d->waitFor("<Nev> Welcome carol, you are logged in.\n"));
}

TEST_F(ChatServerTest, ChatTellShoutEmoteAndAway) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  alice->send("hello bob\n");
  EXPECT_TRUE(alice->waitFor("<alice> hello bob\n"));
  EXPECT_TRUE(bob->waitFor("<alice> hello bob\n"));

  alice->send(".t bob psst\n");
  EXPECT_TRUE(alice->waitFor("You tell bob: psst\n"));
  EXPECT_TRUE(bob->waitFor("alice tells you: psst\n"));
  bob->send("away\n");
  EXPECT_TRUE(bob->waitFor("You are now away.\n"));
  EXPECT_TRUE(alice->waitFor("<Nev> bob is now away.\n"));
  alice->send("tell bob still there?\n");
  EXPECT_TRUE(
      alice->waitFor("You tell bob: still there?\n<Nev> bob is away and may not answer.\n"));
  bob->send("back\n");
  EXPECT_TRUE(bob->waitFor("You are back.\n"));
  EXPECT_TRUE(alice->waitFor("<Nev> bob is back.\n"));

  alice->send("shout hey all\n");
  EXPECT_TRUE(alice->waitFor("You shout: hey all\n"));
  EXPECT_TRUE(bob->waitFor("alice shouts: hey all\n"));
  bob->send("emote waves\n");
  EXPECT_TRUE(alice->waitFor("* bob waves\n"));
  alice->send("tell carol hi\n");
  EXPECT_TRUE(alice->waitFor("<Nev> carol is not logged in.\n"));
  // A name that is not a plain word never comes back: it could imitate a prompt.
  alice->send("tell Password: hi\n");
  EXPECT_TRUE(alice->waitFor("<Nev> No such user.\n"));
}

TEST_F(ChatServerTest, WhoListingLayout) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  bob->send("away\n");
  bob->send("set client Vornith 2.00\n");
  bob->send("join Dessin\n");
  ASSERT_TRUE(bob->waitFor("You join the channel Dessin.\n"));
  EXPECT_TRUE(server->setIdle("bob", "20m"));
  EXPECT_FALSE(server->setIdle("nobody", "1m"));
  EXPECT_FALSE(server->setIdle("bob", "two words"));
  alice->send("who all\n");
  EXPECT_TRUE(
      alice->waitFor("=== Who list ===\n"
                     "-----\n"
                     "> alice            -          0m     Hall             User\n"
                     "> bob              Vornith    *20m   Dessin           User\n"
                     "-----\n"
                     "=== 2 users ===\n"));
  // "who" lists the own channel; the admin's idle value lasts until the user's next line.
  bob->send("who\n");
  EXPECT_TRUE(
      bob->waitFor("-----\n> bob              Vornith    *0m    Dessin           User\n"
                   "-----\n=== 1 users ===\n"));
  // "who" followed by other words is chat.
  alice->send("who is there\n");
  EXPECT_TRUE(alice->waitFor("<alice> who is there\n"));
}

TEST_F(ChatServerTest, ChannelsTopicsBumpAndKick) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  auto carol = user("carol");
  bob->send("join Dessin\n");
  EXPECT_TRUE(bob->waitFor("You join the channel Dessin.\n"));
  EXPECT_TRUE(alice->waitFor("<Nev> bob joins the channel Dessin\n"));
  bob->send("topic drawing only\n");
  EXPECT_TRUE(bob->waitFor("<Nev> bob sets the topic: drawing only\n"));
  carol->send("join Dessin\n");
  EXPECT_TRUE(carol->waitFor("You join the channel Dessin.\n<Nev> Topic: drawing only\n"));
  EXPECT_TRUE(bob->waitFor("--> carol comes from the channel Hall\n"));
  // Chat stays in its channel.
  alice->send("in the hall\n");
  carol->send("in dessin\n");
  EXPECT_TRUE(bob->waitFor("<carol> in dessin\n"));
  EXPECT_EQ(bob->unread().find("in the hall"), std::string::npos);

  carol->send("join _hidden\n");
  EXPECT_TRUE(bob->waitFor("<-- carol fades away\n"));
  EXPECT_TRUE(alice->waitFor("<-- carol fades away\n"));
  carol->send("leave\n");
  EXPECT_TRUE(carol->waitFor("You leave the channel _hidden.\n"));
  EXPECT_TRUE(alice->waitFor("--> carol comes from the channel _hidden\n"));
  EXPECT_TRUE(bob->waitFor("<-- carol goes back to the Hall\n"));

  alice->send("bump bob\n");
  EXPECT_TRUE(alice->waitFor("You bump bob.\n"));
  EXPECT_TRUE(bob->waitFor("You have been bumped to the Hall by alice.\n"));
  EXPECT_TRUE(carol->waitFor("--> bob comes from the channel Dessin\n"));
  alice->send("kick bob\n");
  EXPECT_TRUE(alice->waitFor("You kick bob.\n"));
  EXPECT_TRUE(bob->waitFor("You have been kicked out by alice.\n"));
  EXPECT_TRUE(bob->waitForClose());
  EXPECT_TRUE(carol->waitFor("<Nev> bob has been kicked out by alice\n"));
  alice->send("kick alice\n");
  EXPECT_TRUE(alice->waitFor("<Nev> You can't kick yourself.\n"));
}

TEST_F(ChatServerTest, SenddataIsRelayedUntouched) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  const std::string payloads[] = {
      "VREQ PING",
      "VACK FULLVERSION SUB - Main   plugin NevChat (0.10)",
      "[Varazir][Send][a b.txt][12][3][127.0.0.1][4000][pw] rest",
      "}l -1 2 3 4 5 6",
      "  leading blanks and trailing blanks  ",
      "bytes \x01\x7f\xc3\xa9\xff end",
  };
  for (const std::string& payload : payloads) {
    alice->send("senddata bob " + payload + "\n");
    EXPECT_TRUE(bob->waitFor("[data] alice " + payload + "\n")) << payload;
  }
  alice->send("senddata nobody VREQ PING\n");
  EXPECT_TRUE(alice->waitFor("<Nev> nobody is not logged in.\n"));
  alice->send("senddata bob\n");
  EXPECT_TRUE(alice->waitFor("<Nev> Usage: senddata NICK DATA\n"));
}

TEST_F(ChatServerTest, RefusingGroupsCannotSendData) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  for (const char* group : {"Emote", "Register", "NoGroup", "Aubel", "banned"}) {
    SCOPED_TRACE(group);
    ASSERT_TRUE(server->setGroup("alice", group));
    EXPECT_TRUE(alice->waitFor(std::string("Your group is now ") + group + ".\n"));
    alice->send("senddata bob VREQ VERSION\n");
    EXPECT_TRUE(alice->waitFor("<Nev> Your group can't send data.\n"));
  }
  ASSERT_TRUE(server->setGroup("alice", "User"));
  alice->send("senddata bob VREQ VERSION\n");
  EXPECT_TRUE(bob->waitFor("[data] alice VREQ VERSION\n"));
  EXPECT_EQ(bob->received().find("[data]"), bob->received().rfind("[data]"));
  EXPECT_FALSE(server->setGroup("alice", "Two words"));
}

TEST_F(ChatServerTest, AdminOperations) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  EXPECT_TRUE(server->moved("alice", "127.0.0.1", 4778));
  EXPECT_TRUE(alice->waitFor("<Nev> Server moved to 127.0.0.1 4778\n"));
  EXPECT_TRUE(server->badServer("alice", "localhost", 4779));
  EXPECT_TRUE(alice->waitFor("<Nev> Wrong server, use localhost 4779\n"));
  EXPECT_FALSE(server->moved("alice", "127.0.0.1", 0));
  EXPECT_FALSE(server->moved("nobody", "127.0.0.1", 1));

  // Raw bytes go out exactly as given, to one user or to everyone.
  EXPECT_TRUE(server->inject("*", "raw\n"));
  EXPECT_TRUE(alice->waitFor("raw\n"));
  EXPECT_TRUE(bob->waitFor("raw\n"));
  EXPECT_TRUE(server->inject("bob", "<Nev> Password: "));
  EXPECT_TRUE(bob->waitFor("<Nev> Password: "));

  // The text form the program reads on its standard input.
  EXPECT_EQ(server->adminCommand("to alice hi there"), "ok");
  EXPECT_TRUE(alice->waitFor("hi there\n"));
  EXPECT_EQ(server->adminCommand("group alice Banned"), "ok");
  EXPECT_TRUE(alice->waitFor("Your group is now Banned.\n"));
  EXPECT_EQ(server->adminCommand("moved alice h 1"), "ok");
  EXPECT_TRUE(alice->waitFor("<Nev> Server moved to h 1\n"));
  EXPECT_EQ(server->adminCommand("badserver alice h 2"), "ok");
  EXPECT_TRUE(alice->waitFor("<Nev> Wrong server, use h 2\n"));
  EXPECT_EQ(server->adminCommand("idle alice 5m"), "ok");
  EXPECT_EQ(server->adminCommand("frobnicate"), "error: unknown command frobnicate");
  EXPECT_NE(server->adminCommand("drop nobody").find("error"), std::string::npos);
  EXPECT_EQ(server->adminCommand("drop bob"), "ok");
  EXPECT_TRUE(bob->waitForClose());
  EXPECT_TRUE(alice->waitFor("<-- bob leaves: dropped\n"));
  EXPECT_FALSE(server->isLoggedIn("bob"));
}

TEST_F(ChatServerTest, ListingsOfTheServer) {
  auto alice = user("alice", "secret");
  auto bob = user("bob");
  bob->send("msg alice see you\n");
  EXPECT_TRUE(bob->waitFor("<Nev> Message stored for alice.\n"));
  bob->send("post on the wall\n");
  EXPECT_TRUE(bob->waitFor("<Nev> Posted on the wall.\n"));
  std::string date = dateOf(std::time(nullptr));
  alice->send("messages\n");
  EXPECT_TRUE(
      alice->waitFor("<Nev> Messages\n#1 " + date + " bob : see you\n<Nev> End of messages\n"));
  alice->send("wall\n");
  EXPECT_TRUE(alice->waitFor("<Nev> Wall\n" + date + " bob : on the wall\n"));
  alice->send("help who\n");
  EXPECT_TRUE(alice->waitFor("<Nev> Help for who:\n  who [all]"));
  EXPECT_TRUE(alice->waitFor("=== End ===\n"));
  alice->send("info\n");
  EXPECT_TRUE(alice->waitFor("=== Info ===\n  Server : NevChat test server\n  Users  : 2\n"));
  alice->send("finger bob\n");
  EXPECT_TRUE(alice->waitFor("<Nev> Finger bob\n  Login   : bob\n"));
  alice->send("quit see you later\n");
  EXPECT_TRUE(alice->waitForClose());
  EXPECT_TRUE(bob->waitFor("<-- alice leaves: see you later\n"));
  EXPECT_EQ(server->transcript("alice").back(), "quit see you later");
}

}  // namespace
