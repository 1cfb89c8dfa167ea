// A client's server list in the host's settings file: the keys written and read back, the
// older two-key form, where reading stops, the console lines, and the view kept in step.
#include "host/ClientConnection.h"
#include "host/tests/ConsolePane.h"
#include "lib/ListView.h"

namespace {

// Records what the connection asks of its view instead of showing it.
class RecordingView : public ListView {
 public:
  RecordingView() : ListView("servers", 0) {}
  void clear() override { items.clear(); }
  void addItem(const char* text, LPARAM) override { items.push_back(text); }
  void removeItem(const char* text) override {
    for (auto it = items.begin(); it != items.end(); ++it)
      if (*it == text) {
        items.erase(it);
        return;
      }
  }
  Lines items;
};

class ServerListTest : public ConsolePaneTest {
 protected:
  void SetUp() override {
    ConsolePaneTest::SetUp();
    if (IsSkipped()) return;
    here.reset(new InFolder);
    link.setClientName("Chat");
    link.setOwner(nullptr, &view);
  }
  void TearDown() override {
    here.reset();
    ConsolePaneTest::TearDown();
  }
  std::string file() { return here->folder.read("Vornith.ini"); }

  std::unique_ptr<InFolder> here;
  RecordingView view;
  ClientConnection link{nullptr};
};

TEST_F(ServerListTest, SavedListIsWrittenAsNumberedKeysAndReadBackInOrder) {
  link.addServer("irc.one.net", 6667, false);
  link.addServer("two.org", 7000, false);
  link.addServer("three", 1, false);
  link.setDefaultServer("Three.example", 23);
  link.saveServers();
  ASSERT_TRUE(link.removeServer("three", 1));
  link.saveServers();  // a shorter list deletes the key after its end
  EXPECT_EQ("[Chat]\nServer0=Three.example:23\nServer1=irc.one.net:6667\nServer2=two.org:7000\n",
            file());
  ClientConnection other(nullptr);
  other.setClientName("Chat");
  other.loadServers();
  EXPECT_STREQ("Three.example", other.getDefaultServer()->host);
  EXPECT_EQ(23, other.getDefaultServer()->port);
  EXPECT_NE(nullptr, other.findServer("TWO.ORG", 7000));
  EXPECT_EQ(Lines{". Server added : Three.example:23\n. Server added : irc.one.net:6667\n"
                  ". Server added : two.org:7000\n #404040"},
            runs());
}

TEST_F(ServerListTest, ReadingStopsAtTheFirstMissingOrUnreadableKey) {
  const std::pair<const char*, Lines> cases[] = {
      {"[Chat]\nServer=old.net\nPort=23\nServer1=never:1\n", {"old.net (23)"}},
      {"[Chat]\nServer=old.net\n", {"old.net (0)"}},
      {"[Chat]\nServer0=a:1\nServer2=c:3\n", {"a (1)"}},
      {"[Chat]\nServer0=a,1\nServer1=b:2\n", {"a (1)", "b (2)"}},
      {"[Chat]\nServer0=a:1\nServer1=nothing\nServer2=c:3\n", {"a (1)"}},
      {"[Chat]\nServer0=a:1\nServer=old\nPort=5\n", {"a (1)"}},
      {"[Other]\nServer0=a:1\n", {}},
      {"[Chat]\nServer0=a.net:1\nServer1=A.NET:1\n", {"a.net (1)"}},
  };
  for (const auto& [text, servers] : cases) {
    ASSERT_TRUE(here->folder.write("Vornith.ini", text));
    link.addServer("stale", 9, false);
    link.loadServers();
    EXPECT_EQ(servers, view.items) << text;
  }
  EXPECT_NE(std::string::npos, console().find("You can't add the server : A.NET:1 because\n"));
  // The comma separator is written back with a colon.
  ASSERT_TRUE(here->folder.write("Vornith.ini", "[Chat]\nServer0=host,6667\n"));
  link.loadServers();
  link.saveServers();
  EXPECT_EQ("[Chat]\nServer0=host:6667\n", file());
}

TEST_F(ServerListTest, ViewFollowsAddsRemovalsAndClears) {
  link.addServer("a", 1, false);
  link.addServer("b", 2, true);
  EXPECT_FALSE(link.addServer("B", 2, false));
  EXPECT_EQ((Lines{"a (1)", "b (2)"}), view.items);
  ASSERT_TRUE(link.removeServer("a", 1));
  EXPECT_EQ(Lines{"b (2)"}, view.items);
  EXPECT_EQ(link.getDefaultServer(), link.fillServerList());
  link.clearServers();
  EXPECT_TRUE(view.items.empty());
  EXPECT_EQ(nullptr, link.fillServerList());
  link.setOwner(nullptr, nullptr);
}

}  // namespace
