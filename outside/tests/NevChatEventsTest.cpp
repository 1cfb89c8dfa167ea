// The default events file against the chat server's lines: every event has a sample line that
// names it with its variables, with and without the time stamp; prompts inside other lines are
// no prompts; and the live server's lines name the expected events.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "host/EventList.h"
#include "host/EventsFile.h"
#include "host/tests/EventsTestConsole.h"
#include "outside/chatserver/ChatServer.h"
#include "outside/tests/TestClient.h"

namespace {

struct Sample {
  const char* line;  // as the server sends it without its stamp
  const char* event;
  const char* vars;  // "name=value" besides nevtime, in the order the pattern names them
};

const Sample Samples[] = {
    {"<Nev> Password: ", "getpass", ""},
    {"\xff\xfb\x01<Nev> Password: ", "getpass", ""},
    {"<Nev> Login: ", "login", ""},
    {"<Nev> bob is already logged in !\n", "alreadylog", "nick=bob"},
    {"<Nev> Invalid password !\n", "invalidpass", ""},
    {"\xff\xfc\x01<Nev> Invalid password !\n", "invalidpass", ""},
    {"<Nev> Invalid login name !\n", "invalidpass", ""},
    {"<Nev> Welcome alice, you are logged in.\n", "wellogin", "login=alice"},
    {"\xff\xfc\x01<Nev> Welcome alice, you are logged in.\n", "wellogin", "login=alice"},
    {"<Nev> Welcome to the NevChat test server\n", "welcome", ""},
    {"#12 2024-01-31 bob : see you\n", "msgline",
     "numeric=12 msgtime=2024-01-31 nick=bob text=see you\n"},
    {"2024-01-31 bob : on the wall\n", "wallline",
     "msgtime=2024-01-31 nick=bob text=on the wall\n"},
    {"> bob              Vornith    *20m   Dessin           User\n", "wholine",
     "name=bob client=Vornith idle=*20m channel=Dessin group=User"},
    {"> alice_2          -          0m     _hidden          NoGroup\n", "wholine",
     "name=alice_2 client=- idle=0m channel=_hidden group=NoGroup"},
    {"Your group is now Banned.\n", "chggroup", "group=Banned"},
    {"You are now away.\n", "away", ""},
    {"You are back.\n", "back", ""},
    {"<Nev> bob is away and may not answer.\n", "tellaway", "nick=bob"},
    {"<Nev> bob is now away.\n", "useraway", "nick=bob"},
    {"<Nev> bob is back.\n", "userback", "nick=bob"},
    {"* bob waves at you\n", "emote", "nick=bob text=waves at you\n"},
    {"bob shouts: hey all\n", "shout", "nick=bob text=hey all\n"},
    {"You shout: hey all\n", "youshout", "text=hey all\n"},
    {"You tell bob: psst: here\n", "youtell", "nick=bob text=psst: here\n"},
    {"bob tells you: psst\n", "tell", "nick=bob text=psst\n"},
    {"<Nev> bob has been kicked out by carol\n", "kicked", "nick=bob by=carol"},
    {"You kick bob.\n", "kick", "nick=bob"},
    {"<Nev> Topic: drawing only\n", "topjoin", "topic=drawing only\n"},
    {"<Nev> bob sets the topic: drawing only\n", "topicset", "nick=bob topic=drawing only\n"},
    {"--> bob comes in.\n", "comein", "nick=bob"},
    {"<-- bob leaves: see you later\n", "leaves", "nick=bob"},
    {"<-- bob leaves.\n", "leaves", "nick=bob"},
    {"--> bob comes from the channel Dessin\n", "comefrom", "nick=bob channel=Dessin"},
    {"<-- bob goes back to the Hall\n", "leavechannel", "nick=bob"},
    {"<-- bob fades away\n", "fadechannel", "nick=bob"},
    {"<Nev> bob joins the channel Dessin\n", "joinedchannel", "nick=bob channel=Dessin"},
    {"You join the channel Dessin.\n", "join", "channel=Dessin"},
    {"You leave the channel Dessin.\n", "leave", "channel=Dessin"},
    {"<Nev> bob has been bumped to the Hall\n", "bump", "nick=bob"},
    {"You have been bumped to the Hall by alice.\n", "bumped", "nick=alice"},
    {"<Nev> bob beeps you !\n", "usrbeep", "nick=bob"},
    {"You beep bob.\n", "youbeep", "nick=bob"},
    {"<Nev> Messages\n", "msgbegin", ""},
    {"<Nev> End of messages\n", "msgend", ""},
    {"<Nev> Finger bob\n", "finger", "nick=bob"},
    {"<Nev> System aliases\n", "sysalias", ""},
    {"<Nev> Your aliases\n", "usralias", ""},
    {"<Nev> History\n", "history", ""},
    {"<Nev> Uptime: 3 min\n", "uptime", ""},
    {"<Nev> Wall\n", "wall", ""},
    {"<Nev> Help for who:\n", "helpfor", ""},
    {"=== Info ===\n", "infobeg", ""},
    {"-----\n", "infosep", ""},
    {"=== End ===\n", "infoend", ""},
    {"=== Who list ===\n", "whobegin", ""},
    {"=== 12 users ===\n", "whoend", "count=12"},
    {"You invite bob to the channel Hall.\n", "you", ""},
    {"You have been kicked out by alice.\n", "you", ""},
    {"  Login   : bob\n", "block", ""},
    {"<Nev> bob invites you to the channel Dessin.\n", "nevdatas", ""},
    {"<Nev> Your group can't send data.\n", "nevdatas", ""},
    {"<Nev> Line too long, cut at 1024 characters.\n", "nevdatas", ""},
    {"<bob> hello alice\n", "sentence", "nick=bob text=hello alice\n"},
    {"<Nev> carol is not logged in.\n", "notloggedin", "nick=carol"},
    {"[data] bob VREQ PING\n", "vdatas", "nick=bob request=VREQ data=PING\n"},
    {"[data] bob VACK FULLVERSION SUB - Main   plugin NevChat (0.10)\n", "vdatas",
     "nick=bob request=VACK data=FULLVERSION SUB - Main   plugin NevChat (0.10)\n"},
    {"<Nev> Server moved to 127.0.0.1 4778\n", "servermoved", "server=127.0.0.1 port=4778"},
    {"<Nev> Wrong server, use localhost 4779\n", "badserver", "server=localhost port=4779"},
    {"[data] bob [Varazir][Send][a b.txt][1200][3][127.0.0.1][4000][Xk9p]\n", "vfilesendserver",
     "nick=bob filename=a b.txt size=1200 id=3 ip=127.0.0.1 port=4000 password=Xk9p text=\n"},
    {"[data] bob [Varazir][Send][a b.txt][1200][3]\n", "vfilesend",
     "nick=bob filename=a b.txt size=1200 id=3 text=\n"},
    {"[data] bob [Varazir][Accept][3][10.0.0.2][4001][Qz]\n", "vfileacceptserver",
     "nick=bob id=3 ip=10.0.0.2 port=4001 password=Qz text=\n"},
    {"[data] bob [Varazir][Accept][3]\n", "vfileaccept", "nick=bob id=3 text=\n"},
    {"[data] bob [Varazir][Refuse][3]\n", "vfilerefuse", "nick=bob id=3 text=\n"},
    {"[data] bob }l -1 10 20 300 400 -3\n", "vsenddatadrawline",
     "nick=bob color=-1 x1=10 y1=20 x2=300 y2=400 width=-3"},
    {"<bob> }l 5 10 20 300 400 2\n", "vchanneldrawline",
     "color=5 x1=10 y1=20 x2=300 y2=400 width=2"},
    {"???\n", "[Unknown]", ""},
};

class NevChatEventsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(loadEventsFile(list, NEVCHAT_EVENTS_FILE)); }

  // The event's name; its variables other than nevtime go to vars, nevtime to stamp.
  std::string eventOf(const std::string& line, std::string* vars = nullptr,
                      std::string* stamp = nullptr) {
    EventRecord record;
    std::string name = list.match(line.c_str(), record);
    for (int i = 0; vars && i < record.count; ++i) {
      std::string var = record.vars[2 * i];
      std::string value = record.vars[2 * i + 1] ? record.vars[2 * i + 1] : "(null)";
      if (var == "nevtime")
        *stamp = value;
      else
        *vars += (vars->empty() ? "" : " ") + var + "=" + value;
    }
    return name;
  }
  // The events of what a client received: lines with their line feed, and each prompt on its
  // own (the server sends nothing after a prompt until the client answers it).
  std::vector<std::string> eventsOf(const std::string& text) {
    std::vector<std::string> events;
    std::string piece;
    for (char c : text) {
      piece += c;
      size_t n = piece.size();
      if (c == '\n' || (n >= 7 && (piece.compare(n - 7, 7, "Login: ") == 0 ||
                                   piece.compare(n - 7, 7, "sword: ") == 0))) {
        events.push_back(eventOf(piece));
        piece.clear();
      }
    }
    return events;
  }

  RecordingConsole console;
  EventList list{&console};
};

TEST_F(NevChatEventsTest, EachEventHasAServerLineThatGivesItAndItsVariables) {
  std::set<std::string> sampled;
  for (const Sample& s : Samples) {
    if (std::string(s.event) != "[Unknown]") sampled.insert(s.event);
    for (std::string stamp : {"", "12:34:56 "}) {
      std::string vars, nevtime;
      EXPECT_EQ(s.event, eventOf(stamp + s.line, &vars, &nevtime)) << stamp + s.line;
      EXPECT_EQ(s.vars, vars) << stamp + s.line;
      // A pattern that names no stamp (the unknown line) leaves none.
      if (sampled.count(s.event)) {
        EXPECT_EQ(stamp, nevtime) << stamp + s.line;
      }
    }
  }
  EXPECT_EQ(static_cast<int>(sampled.size()), list.count()) << "an event without a sample";
  EXPECT_EQ("", console.all());
}

// The client answers getpass and login with the saved password and login.
TEST_F(NevChatEventsTest, PromptsInsideOtherLinesAreNotPrompts) {
  const std::pair<const char*, const char*> lines[] = {
      {"<bob> <Nev> Password: ", "sentence"},
      {"12:34:56 <bob> hey <Nev> Login: \n", "sentence"},
      {"bob tells you: <Nev> Password: \n", "tell"},
      {"* bob <Nev> Password: \n", "emote"},
      {"abc<Nev> Password: ", "[Unknown]"},
      {"bob shouts: <Nev> Login: ", "shout"},
      {"[data] bob <Nev> Password: \n", "vdatas"},
      {"<Nev> Password is not logged in.\n", "notloggedin"},
      {"<Nev> Login is now away.\n", "useraway"},
  };
  for (const auto& [line, event] : lines) EXPECT_EQ(event, eventOf(line)) << line;
}

// Lines as the running server sends them, stamps and all, name the expected events.
TEST_F(NevChatEventsTest, LiveServerLinesNameTheirEvents) {
  ChatServerOptions options;
  options.telnet = true;
  ChatServer server(options);
  server.addUser("alice", "secret", "User");
  ASSERT_TRUE(server.start());
  TestClient bob(server.port());
  ASSERT_TRUE(bob.login("bob"));
  TestClient alice(server.port());
  ASSERT_TRUE(alice.login("alice", "secret"));
  for (const char* command :
       {"who all", "senddata bob VREQ PING", "hello", ".t bob hi", "shout all", "join Dessin",
        "topic t", "leave", "beep bob", "help who", "info", "uptime", "messages", "alias",
        "history", "finger nobody", "away", "back", "quit"})
    alice.send(std::string(command) + "\n");
  ASSERT_TRUE(alice.waitForClose());
  server.setGroup("bob", "Banned");
  server.moved("bob", "127.0.0.1", 4778);
  server.badServer("bob", "127.0.0.1", 4779);
  ASSERT_TRUE(bob.waitFor("Wrong server"));
  bob.drain(50);
  EXPECT_EQ(
      std::vector<std::string>(
          {"welcome",  "login",   "getpass",  "wellogin", "whobegin", "infosep",  "wholine",
           "wholine",  "infosep", "whoend",   "sentence", "youtell",  "youshout", "join",
           "topicset", "leave",   "youbeep",  "helpfor",  "block",    "infoend",  "infobeg",
           "block",    "block",   "block",    "infoend",  "uptime",   "msgbegin", "msgend",
           "sysalias", "block",   "usralias", "block",    "history",  "block",    "notloggedin",
           "away",     "back"}),
      eventsOf(alice.received()));
  EXPECT_EQ(
      std::vector<std::string>({"welcome", "login", "wellogin", "comein", "vdatas", "sentence",
                                "tell", "shout", "joinedchannel", "comefrom", "usrbeep", "useraway",
                                "userback", "leaves", "chggroup", "servermoved", "badserver"}),
      eventsOf(bob.received()));
}

}  // namespace
