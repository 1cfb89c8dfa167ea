// NevLine, NvtFilter and NevTimeStamp in the real host, between the local chat server in
// telnet mode and a NevChat client: the log-in prompts, lines cut by the connection, a bell,
// telnet bytes and server stamps, as the events and the chat pane see them; tabs and 255 bytes
// on the way out, as the server receives them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Host.h"
#include "host/tests/e2e/HostRun.h"
#include "lib/RichEdit.h"
#include "outside/chatserver/ChatServer.h"
#include "platform/testing.h"
#include "platform/testing_richedit.h"
#include "platform/tests/TempFolder.h"
#include "platform/win32.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/PasswordScrambler.h"

namespace {

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// What the journal add-in recorded: one line per event, "event N name var=value ...".
std::string journal() {
  HMODULE module = GetModuleHandleA("TestAddin.vad");
  void* address =
      module != nullptr ? reinterpret_cast<void*>(GetProcAddress(module, "journalText")) : nullptr;
  auto text = reinterpret_cast<const char* (*)()>(address);
  return text != nullptr ? text() : std::string();
}

std::string paneOf(NevChatSession* session) {
  std::string text;
  RichEdit* output = session != nullptr ? session->getOutput() : nullptr;
  if (output == nullptr) return text;
  for (const auto& run : vorntest::richEditRuns(output->getHwnd())) text += run.text;
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

ChatServerOptions telnetServer() {
  ChatServerOptions options;
  options.telnet = true;
  return options;
}

class FiltersEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.start()) << server.error();
    server.addUser("alice", "s3cret", "");
    namespace fs = std::filesystem;
    fs::create_directories(folder.file("Plugins"));
    fs::create_directories(folder.file("Events"));
    for (const char* module : {NEVCHAT_MODULE, NEVLINE_MODULE, NVTFILTER_MODULE,
                               NEVTIMESTAMP_MODULE, JOURNAL_ADDIN_MODULE})
      fs::copy_file(module, folder.file("Plugins/") + fs::path(module).filename().string());
    fs::copy_file(NEVCHAT_EVENTS_FILE, folder.file("Events/nevchat.evt"));
    folder.write("Vornith.ini", "[alice]\nAutoconnect=On\nServer0=127.0.0.1:" +
                                    std::to_string(server.port()) +
                                    "\nRegExpr=nevchat.evt\nMain=NevChat\nAddins=TestAddin\n"
                                    "Inout=NevLine NvtFilter NevTimeStamp\n");
    folder.write("Plugs.ini", "[alice]\nNevChat Login=alice\nNevChat Password=" +
                                  std::string(scramblePassword("s3cret").text()) +
                                  "\nNevTimeStamp State=1\nNevLine TabSize=4\n");
    SYSTEMTIME local{};
    local.wHour = 9;
    local.wMinute = 5;
    local.wSecond = 7;
    vorntest::setLocalTime(local);
    vorntest::clearRecordedBeeps();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previous = cwd;
    ASSERT_EQ(chdir(folder.path().c_str()), 0);
  }
  void TearDown() override {
    vorntest::clearLocalTime();
    if (chdir(previous.c_str()) != 0) ADD_FAILURE() << "cannot go back to " << previous;
  }

  bool waitJournal(const std::string& part) {
    return vorntest::pumpUntil([&] { return has(journal(), part); }, 5000);
  }
  bool waitSent(const std::string& line) {
    return vorntest::pumpUntil(
        [&] {
          std::vector<std::string> lines = server.transcript("alice");
          return std::find(lines.begin(), lines.end(), line) != lines.end();
        },
        5000);
  }

  TempFolder folder;
  ChatServer server{telnetServer()};
  std::string previous;
};

TEST_F(FiltersEndToEnd, ReceivedLinesAndSentTextGoThroughTheFilters) {
  startUp(GetModuleHandleA(nullptr));
  Client* client = clientList != nullptr ? clientList->findClient("alice") : nullptr;
  ASSERT_NE(client, nullptr);
  NevChatSession* chat = static_cast<NevChatSession*>(client->getMainRecord().session);
  ASSERT_NE(chat, nullptr);

  // The prompts, one behind the echo negotiation, never end their line: NevLine releases them,
  // NvtFilter takes the telnet bytes away, and the saved login and password answer them.
  ASSERT_TRUE(vorntest::pumpUntil([&] { return server.isLoggedIn("alice"); }, 5000))
      << paneOf(chat);
  std::vector<std::string> lines = server.transcript("alice");
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ("alice", lines[0]);
  EXPECT_EQ("s3cret", lines[1]);
  ASSERT_TRUE(waitJournal("wellogin nevtime=09:05:07  login=alice")) << journal();
  // The who listing the client asks for at log-in comes first: nothing may cut into it.
  ASSERT_TRUE(waitJournal("whoend")) << journal();

  // A tell cut in two by the connection is one line, stamped with the local time.
  server.inject("alice", "12:00:01 bob tells you: hel");
  vorntest::pumpFor(150);
  server.inject("alice", "lo there\n");
  ASSERT_TRUE(waitJournal("tell nevtime=09:05:07  nick=bob text=hello there")) << journal();
  EXPECT_FALSE(has(journal(), "text=hel\n")) << journal();

  // A bell beeps and goes; a doubled 255 is one data byte; echo negotiation inside a line goes.
  server.inject("alice", "\a12:00:02 bob tells you: ding\n");
  server.inject("alice", "12:00:03 bob tells you: caf\xFF\xFF!\n");
  server.inject("alice", "12:00:04 \xFF\xFB\x01" "bob tells you: quiet\n");
  ASSERT_TRUE(waitJournal("text=quiet")) << journal();
  EXPECT_TRUE(has(journal(), "nevtime=09:05:07  nick=bob text=ding")) << journal();
  EXPECT_TRUE(has(journal(), "text=caf\xFF!\n")) << journal();
  std::vector<UINT> beeps = vorntest::recordedBeeps();
  EXPECT_EQ(1, std::count(beeps.begin(), beeps.end(), UINT(MB_ICONASTERISK)));
  EXPECT_FALSE(has(journal(), "12:00:0")) << "every server stamp was replaced";
  EXPECT_FALSE(has(journal(), "\a"));
  EXPECT_TRUE(has(paneOf(chat), "hello there")) << paneOf(chat);

  // Sent text: tabs to the next tab stop, 255 doubled on the wire (the server undoes it).
  chat->getInput()->setText("a\tb \xFF x");
  chat->getInput()->onEnter();
  EXPECT_TRUE(waitSent("a   b \xFF x")) << server.transcript("alice").back();

  closeAndShutDown();
}

}  // namespace
