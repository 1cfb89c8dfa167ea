// The program folder of the plug-ins' end-to-end tests: two NevChat clients, alice and bob, of
// the local chat server, with the test's modules in Plugins/ and the working folder moved in;
// and the look-ups those tests share.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/Client.h"
#include "host/ClientList.h"
#include "lib/HistoryEdit.h"
#include "outside/chatserver/ChatServer.h"
#include "platform/testing.h"
#include "platform/tests/TempFolder.h"
#include "plugins/NevChat/NevChatSession.h"

inline bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

inline Client* clientOf(const char* name) {
  return clientList != nullptr ? clientList->findClient(name) : nullptr;
}

// The client's NevChat session; null before it exists.
inline NevChatSession* chatOf(const char* name) {
  Client* found = clientOf(name);
  return found != nullptr ? static_cast<NevChatSession*>(found->getMainRecord().session) : nullptr;
}

// The session of the client's first add-in; null before it exists.
template <typename Session>
Session* firstAddinOf(const char* name) {
  Client* found = clientOf(name);
  if (found == nullptr || found->getAddins().headNode() == nullptr) return nullptr;
  return static_cast<Session*>(found->getAddins().headNode()->value->session);
}

// A rich edit's text as read: pictures as "[pic]", breaks as "\n".
inline std::string paneText(HWND richEdit) {
  std::string text;
  for (const auto& run : vorntest::richEditRuns(richEdit)) text += run.picture ? "[pic]" : run.text;
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

// A line typed into an input line and entered.
inline void enter(HistoryEdit* input, const char* line) {
  input->setText(line);
  input->onEnter();
}

// What one test program puts into the folder besides NevChat and its events file.
struct TwoClientsSetup {
  struct Module {
    const char* from;  // the built module
    const char* as;    // its name under Plugins/
  };
  std::vector<Module> modules{};
  std::string clientLines{};  // added to both client sections of Vornith.ini
  std::string systemLines{};  // the lines before the clients, e.g. a [System] section
  std::string aliceLines{};   // added to alice's section of Plugs.ini
  std::string bobLines{};     // added to bob's section of Plugs.ini
  int waitMs = 5000;          // how long wait() pumps before it gives up
};

class TwoClientsHost : public ::testing::Test {
 protected:
  explicit TwoClientsHost(TwoClientsSetup setup) : setup_(std::move(setup)) {}

  void SetUp() override {
    ASSERT_FALSE(folder.path().empty());
    ASSERT_TRUE(server.start()) << server.error();
    namespace fs = std::filesystem;
    fs::create_directories(folder.file("Plugins"));
    fs::create_directories(folder.file("Events"));
    fs::copy_file(NEVCHAT_MODULE, folder.file("Plugins/NevChat.vma"));
    for (const TwoClientsSetup::Module& module : setup_.modules)
      fs::copy_file(module.from, folder.file(std::string("Plugins/") + module.as));
    fs::copy_file(NEVCHAT_EVENTS_FILE, folder.file("Events/nevchat.evt"));
    std::string client = "]\nAutoconnect=On\nServer0=127.0.0.1:" + std::to_string(server.port()) +
                         "\nRegExpr=nevchat.evt\nMain=NevChat\n" + setup_.clientLines;
    folder.write("Vornith.ini", setup_.systemLines + "[alice" + client + "[bob" + client);
    folder.write("Plugs.ini", "[alice]\nNevChat Login=alice\n" + setup_.aliceLines +
                                  "[bob]\nNevChat Login=bob\n" + setup_.bobLines);
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previous = cwd;
    ASSERT_EQ(chdir(folder.path().c_str()), 0);
  }
  void TearDown() override {
    if (chdir(previous.c_str()) != 0) ADD_FAILURE() << "cannot go back to " << previous;
  }

  bool wait(const std::function<bool()>& done) { return vorntest::pumpUntil(done, setup_.waitMs); }
  bool sent(const char* nick, const std::string& line) {
    std::vector<std::string> lines = server.transcript(nick);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::string transcriptOf(const char* nick) {
    std::string text;
    for (const std::string& line : server.transcript(nick)) text += line + "\n";
    return text;
  }

  TempFolder folder;
  ChatServer server;
  std::string previous;

 private:
  TwoClientsSetup setup_;
};
