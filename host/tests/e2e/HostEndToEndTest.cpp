// The whole host against a loopback server: start-up from a program folder, connection, the
// receive road through every plug-in kind, sending from the command line, connection ends,
// a faulting plug-in, shut-down order and the files written afterwards.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include <filesystem>
#include <string>

#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Console.h"
#include "host/Host.h"
#include "host/tests/e2e/HostRun.h"
#include "host/SystemInput.h"
#include "host/SystemWindow.h"
#include "host/tests/e2e/LoopServer.h"
#include "outside/chatserver/ChatServer.h"
#include "lib/RichEdit.h"
#include "platform/testing.h"
#include "platform/tests/TempFolder.h"
#include "platform/win32.h"

namespace {

const char* const kPlugins[] = {"TestMain.vma", "TestAddin.vad", "FaultyAddin.vad", "TestInout.vio",
                                "TestSystem.vsy"};

// The journal of one loaded plug-in; the test keeps a reference of its own to every module so
// the journals outlive the host's unloading.
std::string journalOf(const char* file) {
  HMODULE module = GetModuleHandleA(file);
  if (module == nullptr) return std::string();
  void* address = reinterpret_cast<void*>(GetProcAddress(module, "journalText"));
  auto text = reinterpret_cast<const char* (*)()>(address);
  return text != nullptr ? text() : std::string();
}

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string consoleText() {
  std::string text;
  RichEdit* pane = getConsole();
  if (pane == nullptr) return text;
  for (const auto& run : vorntest::richEditRuns(pane->getHwnd())) text += run.text;
  return text;
}

class HostEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.path().empty());
    namespace fs = std::filesystem;
    fs::create_directories(folder.file("Plugins"));
    fs::create_directories(folder.file("Events"));
    for (const char* plugin : kPlugins)
      fs::copy_file(std::string(E2E_PLUGINS_DIR) + "/" + plugin, folder.file("Plugins/") + plugin);
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previous = cwd;
    ASSERT_EQ(chdir(folder.path().c_str()), 0);
    writeSettings();
  }
  void TearDown() override {
    vorntest::clearMessageBoxes();
    if (chdir(previous.c_str()) != 0) ADD_FAILURE() << "cannot go back to " << previous;
  }

  void writeSettings() {
    u_short refused = loopback::refusedPort();
    folder.write(
        "Vornith.ini",
        "[System]\nPlugins Directory=.\\Plugins\nEvents Directory=.\\Events\n"
        "Plugs0000=+TestMain +TestAddin +FaultyAddin +TestInout +TestSystem\n"
        "[alpha]\nAutoconnect=On\nServer0=127.0.0.1:" +
            std::to_string(server.port()) +
            "\nRegExpr=test.ev\nMain=TestMain\nAddins=TestAddin FaultyAddin\nInout=TestInout\n"
            "[beta]\nAutoconnect=On\nServer0=127.0.0.1:" +
            std::to_string(refused) + "\nMain=TestMain\n");
    // CR LF line ends, as a file written on another system would have them.
    folder.write("Events/test.ev",
                 "[VARS]\r\nnick = \"([^ ]+):(nick)\"\r\n[EVENTS]\r\n"
                 "tell = \"^\" + nick + \" tells you/: (.*):(text)$\"\r\n");
  }

  // Keeps every plug-in module mapped past the host's unloading.
  void holdModules() {
    for (const char* plugin : kPlugins) {
      HMODULE module = nullptr;
      if (GetModuleHandleExA(0, plugin, &module)) held.push_back(module);
    }
  }

  bool waitFor(const char* file, const std::string& part, int ms = 5000) {
    return vorntest::pumpUntil([&] { return has(journalOf(file), part); }, ms);
  }

  TempFolder folder;
  std::string previous;
  LoopServer server;
  std::vector<HMODULE> held;
};

TEST_F(HostEndToEnd, RunsTheLinePathFromStartToShutDown) {
  vorntest::answerNextMessageBox(IDOK);  // the faulting add-in's report
  startUp(GetModuleHandleA(nullptr));
  ASSERT_NE(clientList, nullptr);
  holdModules();
  ASSERT_EQ(held.size(), 5u) << consoleText();
  Client* alpha = clientList->findClient("ALPHA");
  ASSERT_NE(alpha, nullptr);

  // Connection: system events 1 and 2 reach every kind.
  ASSERT_TRUE(waitFor("TestMain.vma", "system 2 127.0.0.1:")) << journalOf("TestMain.vma");
  EXPECT_TRUE(has(journalOf("TestSystem.vsy"), "system alpha 1 127.0.0.1:"));
  EXPECT_TRUE(has(journalOf("TestAddin.vad"), "system 2 127.0.0.1:"));
  EXPECT_TRUE(has(consoleText(), "<alpha> Connection established ! (127.0.0.1:"));
  ASSERT_TRUE(vorntest::pumpUntil([&] { return server.hasClient(); }, 5000));

  // Receiving: the in/out chain sees the chunk, the events reach add-ins and main.
  server.send("bob tells you: hi\nnoise\n");
  ASSERT_TRUE(waitFor("TestMain.vma", "event 1 [Unknown]")) << journalOf("TestMain.vma");
  EXPECT_TRUE(has(journalOf("TestInout.vio"), "received bob tells you: hi|noise|"));
  EXPECT_TRUE(has(journalOf("TestSystem.vsy"), "received alpha bob tells you: hi|noise|"));
  EXPECT_TRUE(has(journalOf("TestAddin.vad"), "event 0 tell nick=bob text=hi\n"));
  EXPECT_TRUE(has(journalOf("TestMain.vma"), "event 0 tell nick=bob text=hi\n"));

  // A line cut across two sends is two lines (nothing is carried over); a chunk without a
  // line feed is a line at once.
  server.send("carol tells you: sp");
  ASSERT_TRUE(waitFor("TestMain.vma", "event 2 tell nick=carol text=sp\n"));
  server.send("lit\n");
  ASSERT_TRUE(waitFor("TestMain.vma", "event 3 [Unknown]"));
  server.send("no line feed");
  ASSERT_TRUE(waitFor("TestMain.vma", "event 4 [Unknown]"));

  // An add-in that intercepts keeps the line from the main plug-in; a system plug-in stops it
  // before the add-ins.
  server.send("dan tells you: addin-stop\n");
  ASSERT_TRUE(waitFor("TestAddin.vad", "event 5 tell nick=dan text=addin-stop"));
  server.send("erin tells you: intercept\n");
  ASSERT_TRUE(waitFor("TestSystem.vsy", "event alpha 6 tell nick=erin"));
  server.send("frank tells you: after\n");
  ASSERT_TRUE(waitFor("TestMain.vma", "event 7 tell nick=frank"));
  EXPECT_FALSE(has(journalOf("TestMain.vma"), "addin-stop"));
  EXPECT_FALSE(has(journalOf("TestAddin.vad"), "erin"));

  // A faulting add-in is reported and unloaded; the others go on receiving.
  server.send("gus tells you: boom\n");
  ASSERT_TRUE(waitFor("TestMain.vma", "event 8 tell nick=gus"));
  ASSERT_EQ(vorntest::shownMessageBoxes().size(), 1u);
  EXPECT_EQ(vorntest::shownMessageBoxes()[0].caption, "Plugin's Critical Error !!!");
  server.send("hal tells you: still\n");
  ASSERT_TRUE(waitFor("TestAddin.vad", "event 9 tell nick=hal"));
  EXPECT_FALSE(has(journalOf("FaultyAddin.vad"), "hal"));

  // A NUL byte from the server is dropped; the lines around it and after it are kept.
  server.send(std::string("ida tells you: a\0b\nida tells you: c\n", 36));
  ASSERT_TRUE(waitFor("TestMain.vma", "event 11 tell nick=ida text=c\n")) << journalOf("TestMain.vma");
  EXPECT_TRUE(has(journalOf("TestMain.vma"), "event 10 tell nick=ida text=ab\n"));

  // Sending from the command line goes through the in/out plug-in to the server.
  SystemInput& input = systemWindow->getInput();
  input.setText("/send alpha hello");
  input.onEnter();
  ASSERT_TRUE(vorntest::pumpUntil([&] { return has(server.received(), "io:hello\n"); }, 5000))
      << server.received();
  EXPECT_TRUE(has(consoleText(), "Send (alpha) : 'hello'"));
  EXPECT_TRUE(has(journalOf("TestSystem.vsy"), "send alpha io:hello|"));

  // The second client finds no server.
  EXPECT_TRUE(vorntest::pumpUntil(
      [&] { return has(consoleText(), "<beta> All connection failed !"); }, 5000));
  EXPECT_TRUE(has(journalOf("TestSystem.vsy"), "system beta 4 "));
  // What a person sees at this point: both clients' menus, the console's story so far.
  EXPECT_TRUE(vorntest::saveScreenPng(E2E_SCREENSHOT));

  // The server closes.
  server.dropClient();
  ASSERT_TRUE(waitFor("TestMain.vma", "system 3 ")) << journalOf("TestMain.vma");
  EXPECT_TRUE(has(consoleText(), "<alpha> Connection closed !"));

  // Shut-down: quit (event 0) before term, then the files.
  closeAndShutDown();
  EXPECT_EQ(clientList, nullptr);
  EXPECT_EQ(systemWindow, nullptr);
  std::string main = journalOf("TestMain.vma");
  size_t quit = main.find("system 0 ");
  size_t term = main.find("term alpha");
  ASSERT_NE(quit, std::string::npos) << main;
  ASSERT_NE(term, std::string::npos) << main;
  EXPECT_LT(quit, term);

  std::string settings = folder.read("Vornith.ini");
  EXPECT_TRUE(has(settings, "System Tabs Style=")) << settings;
  EXPECT_TRUE(has(settings, "Addins=TestAddin FaultyAddin")) << settings;
  EXPECT_TRUE(has(settings, "Server0=127.0.0.1:")) << settings;
  std::string log = folder.read("alpha.log");
  EXPECT_TRUE(has(log, "Creation of alpha in hand.")) << log;
  EXPECT_TRUE(has(log, "| -> Event found: tell")) << log;
  EXPECT_TRUE(has(log, "Client destroyed.")) << log;
  for (HMODULE module : held) FreeLibrary(module);
}

// "Connect" on a client connected to its only server reconnects to that server, and a line
// typed afterwards reaches it.
TEST_F(HostEndToEnd, ConnectAgainReconnectsToTheOnlyServer) {
  ChatServer chat;
  ASSERT_TRUE(chat.start()) << chat.error();
  folder.write("Vornith.ini",
               "[System]\nPlugins Directory=.\\Plugins\nEvents Directory=.\\Events\n"
               "Plugs0000=+TestMain +TestAddin +FaultyAddin +TestInout +TestSystem\n"
               "[alpha]\nAutoconnect=On\n"
               "Server0=127.0.0.1:" + std::to_string(chat.port()) + "\n");
  startUp(GetModuleHandleA(nullptr));
  Client* alpha = clientList->findClient("alpha");
  ASSERT_NE(alpha, nullptr);
  const std::string established = "<alpha> Connection established !";
  auto count = [](const std::string& text, const std::string& part) {
    int found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
  };
  ASSERT_TRUE(vorntest::pumpUntil([&] { return has(consoleText(), established); }, 5000));
  ASSERT_TRUE(vorntest::pumpUntil([&] { return chat.connectionCount() == 1; }, 5000));
  alpha->getConnection().connect();  // what the menu's "Connect" does
  ASSERT_TRUE(vorntest::pumpUntil([&] { return count(consoleText(), established) == 2; }, 5000))
      << consoleText();
  vorntest::pumpFor(100);
  EXPECT_FALSE(has(consoleText(), "failed")) << consoleText();
  SystemInput& input = systemWindow->getInput();
  input.setText("/send alpha zed");
  input.onEnter();
  input.setText("/send alpha typed after the reconnect");
  input.onEnter();
  EXPECT_TRUE(vorntest::pumpUntil(
      [&] {
        std::vector<std::string> lines = chat.transcript("zed");
        return std::find(lines.begin(), lines.end(), "typed after the reconnect") != lines.end();
      },
      5000))
      << consoleText();
  closeAndShutDown();
}

// A logout's SIGTERM closes the system window as a person does, so the settings are saved.
TEST_F(HostEndToEnd, TerminationSignalQuitsAsTheWindowsCloseDoes) {
  startUp(GetModuleHandleA(nullptr));
  holdModules();
  vorntest::pumpFor(100);
  ASSERT_EQ(kill(getpid(), SIGTERM), 0);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  bool quit = false;
  for (MSG message; !quit && std::chrono::steady_clock::now() < deadline;) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
      vorntest::pumpFor(5);
    else if (message.message == WM_QUIT)
      quit = true;
    else
      DispatchMessageA(&message);
  }
  EXPECT_TRUE(quit);
  shutDown();
  std::string settings = folder.read("Vornith.ini");
  EXPECT_TRUE(has(settings, "System Tabs Style=")) << settings;
  EXPECT_TRUE(has(settings, "Addins=TestAddin FaultyAddin")) << settings;
  for (HMODULE module : held) FreeLibrary(module);
}

}  // namespace
