// A client's server list in the host's settings file: the keys written and read back, the
// older two-key form, where reading stops, the console lines, and the view kept in step.
#include <filesystem>
#include <string>
#include <vector>

#include "host/ClientConnection.h"
#include "host/Console.h"
#include "lib/ListView.h"
#include "lib/RichEdit.h"
#include "host/tests/ConsolePane.h"
#include "platform/tests/TempFolder.h"

namespace {

// Records what the connection asks of its view instead of showing it.
class RecordingView : public ListView {
 public:
  RecordingView() : ListView("servers", 0) {}
  void clear() override { items.clear(); }
  void addItem(const char* text, LPARAM data) override {
    items.push_back(text);
    datas.push_back(data);
  }
  void removeItem(const char* text) override {
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i] == text) {
        items.erase(items.begin() + i);
        return;
      }
    }
  }
  std::vector<std::string> items;
  std::vector<LPARAM> datas;
};

// Each test runs in a fresh folder (the settings file is named relative to it) with a console.
class ServerListTest : public ConsolePaneTest {
 protected:
  void SetUp() override {
    ConsolePaneTest::SetUp();
    if (IsSkipped()) return;
    ASSERT_FALSE(tmp_.path().empty());
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(tmp_.path());
    link.setClientName("Chat");
  }
  void TearDown() override {
    if (!previous_.empty()) std::filesystem::current_path(previous_);
    ConsolePaneTest::TearDown();
  }
  std::vector<std::string> list() {
    std::vector<std::string> out;
    RecordingView view;
    link.setOwner(nullptr, &view);
    link.fillServerList();
    link.setOwner(nullptr, nullptr);
    return view.items;
  }

  TempFolder tmp_;
  std::filesystem::path previous_;
  RichEdit* pane = nullptr;
  ClientConnection link{nullptr};
};

TEST_F(ServerListTest, SavedListIsWrittenAsNumberedKeysAndReadBackInOrder) {
  link.addServer("irc.one.net", 6667, false);
  link.addServer("two.org", 7000, false);
  link.setDefaultServer("Three.example", 23);
  link.saveServers();
  EXPECT_EQ("[Chat]\nServer0=Three.example:23\nServer1=irc.one.net:6667\nServer2=two.org:7000\n",
            tmp_.read("Vornith.ini"));

  ClientConnection other(nullptr);
  other.setClientName("Chat");
  other.loadServers();
  ASSERT_NE(nullptr, other.getDefaultServer());
  EXPECT_STREQ("Three.example", other.getDefaultServer()->host);
  EXPECT_EQ(23, other.getDefaultServer()->port);
  EXPECT_NE(nullptr, other.findServer("TWO.ORG", 7000));
  EXPECT_EQ((std::vector<std::string>{". Server added : Three.example:23\r. Server added : "
                                      "irc.one.net:6667\r. Server added : two.org:7000\r #404040"}),
            runs());
}

TEST_F(ServerListTest, ShorterListDeletesTheKeyAfterItsEnd) {
  link.addServer("a", 1, false);
  link.addServer("b", 2, false);
  link.addServer("c", 3, false);
  link.saveServers();
  ASSERT_TRUE(link.removeServer("c", 3));
  link.saveServers();
  EXPECT_EQ("[Chat]\nServer0=a:1\nServer1=b:2\n", tmp_.read("Vornith.ini"));
}

struct LoadCase {
  const char* file;
  std::vector<std::string> servers;
};

TEST_F(ServerListTest, ReadingStopsAtTheFirstMissingOrUnreadableKey) {
  const LoadCase cases[] = {
      {"[Chat]\nServer=old.net\nPort=23\nServer1=never:1\n", {"old.net (23)"}},
      {"[Chat]\nServer=old.net\n", {"old.net (0)"}},
      {"[Chat]\nServer0=a:1\nServer2=c:3\n", {"a (1)"}},
      {"[Chat]\nServer0=a,1\nServer1=b:2\n", {"a (1)", "b (2)"}},
      {"[Chat]\nServer0=a:1\nServer1=nothing\nServer2=c:3\n", {"a (1)"}},
      {"[Chat]\nServer0=a:1\nServer=old\nPort=5\n", {"a (1)"}},
      {"[Other]\nServer0=a:1\n", {}},
  };
  for (const LoadCase& c : cases) {
    ASSERT_TRUE(tmp_.write("Vornith.ini", c.file));
    link.addServer("stale", 9, false);
    link.loadServers();
    EXPECT_EQ(c.servers, list()) << c.file;
  }
}

TEST_F(ServerListTest, CommaSeparatorIsWrittenBackWithAColon) {
  ASSERT_TRUE(tmp_.write("Vornith.ini", "[Chat]\nServer0=host,6667\n"));
  link.loadServers();
  link.saveServers();
  EXPECT_EQ("[Chat]\nServer0=host:6667\n", tmp_.read("Vornith.ini"));
}

TEST_F(ServerListTest, ConsoleShowsEachLoadedServerAndRefusesADuplicate) {
  ASSERT_TRUE(tmp_.write("Vornith.ini", "[Chat]\nServer0=a.net:1\nServer1=A.NET:1\n"));
  link.loadServers();
  EXPECT_EQ((std::vector<std::string>{
                ". Server added : a.net:1\r #404040", "Error in Chat :  #0000c0",
                "You can't add the server : A.NET:1 because\rit is already present in the list.\r "
                "#000000",
                ". Server added : A.NET:1\r #404040"}),
            runs());
  EXPECT_EQ(std::vector<std::string>{"a.net (1)"}, list());
}

TEST_F(ServerListTest, ViewFollowsAddsRemovalsAndClears) {
  RecordingView view;
  link.setOwner(nullptr, &view);
  link.addServer("a", 1, false);
  link.addServer("b", 2, true);
  EXPECT_FALSE(link.addServer("B", 2, false));
  EXPECT_EQ((std::vector<std::string>{"a (1)", "b (2)"}), view.items);
  EXPECT_EQ(reinterpret_cast<LPARAM>(link.findServer("b", 2)), view.datas[1]);
  ASSERT_TRUE(link.removeServer("a", 1));
  EXPECT_EQ(std::vector<std::string>{"b (2)"}, view.items);
  EXPECT_EQ(link.getDefaultServer(), link.fillServerList());
  link.clearServers();
  EXPECT_TRUE(view.items.empty());
  EXPECT_EQ(nullptr, link.fillServerList());
  link.setOwner(nullptr, nullptr);
}

}  // namespace
