// The services table as plug-ins reach it: every entry filled, neutral results and one console
// line for a session no client owns (naming the client only when the session is still known),
// plug-in queries that never ask a plug-in that is not loaded, and the host settings entries.
#include "host/HostServices.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "host/Host.h"
#include "host/SystemSettings.h"
#include "host/tests/PlugsFixture.h"
#include "platform/tests/TempFolder.h"
#include "sdk/PlugsObject.h"

namespace {

void sendData(SdkFunctions& table, PlugsObject* session, const char* format, ...) {
  va_list args;
  va_start(args, format);
  table.sendData(session, format, args);
  va_end(args);
}

void sendToClient(SdkFunctions& table, const char* client, const char* format, ...) {
  va_list args;
  va_start(args, format);
  table.sendDataToClient(client, format, args);
  va_end(args);
}

TEST(HostServicesTableTest, EveryEntryIsFilledAndTheSizeIsTheWholeTable) {
  SdkFunctions table;
  std::memset(&table, 0, sizeof table);
  fillSdkFunctions(&table);
  EXPECT_EQ(sizeof(SdkFunctions), table.size);
  void* const* entries = reinterpret_cast<void* const*>(&table);
  // Entry 0 is the size, 1 and 2 the instance and the system window (none in this test).
  for (size_t i = 3; i < sizeof table / sizeof(void*); ++i)
    EXPECT_NE(nullptr, entries[i]) << "entry " << i;
  EXPECT_FLOAT_EQ(2.0f, table.getHostVersion());
}

class HostServicesTest : public PlugsTest {
 protected:
  void SetUp() override {
    PlugsTest::SetUp();
    if (IsSkipped()) return;
    fillSdkFunctions(&table);
  }
  void TearDown() override {
    plugsManagers = nullptr;
    PlugsTest::TearDown();
  }
  void start() { plugsManagers = &loadAll(); }
  // How many times line stands in the console.
  int count(const std::string& line) {
    std::string text = console();
    int n = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
    return n;
  }
};

TEST_F(HostServicesTest, SessionOfNoClientGetsNeutralResultsAndOneLineEach) {
  start();
  PlugsObject ghost("ghost");
  PlugsObject* s = &ghost;
  char buffer[16] = "untouched";
  table.disconnect(s);
  table.connect(s);
  EXPECT_FALSE(table.isConnected(s));
  table.addServer(s, "host", 1, 0);
  sendData(table, s, "%s", "line");
  table.defineColor(s, "c", "C", 1, 2, 3);
  EXPECT_EQ(0u, table.getColor(s, "c"));
  table.setColor(s, "c", 1, 2, 3);
  table.defineFont(s, "f", "F", "Courier", 10, 1);
  FontRecord font = table.getFont(s, "f");
  EXPECT_EQ(nullptr, font.face);
  EXPECT_EQ(0, font.size);
  EXPECT_EQ(0, font.style);
  table.setFont(s, "f", "Courier", 10, 1);
  EXPECT_FALSE(table.hasEvent(s, "tell"));
  EXPECT_EQ(0, table.getClientString(s, "k", buffer, sizeof buffer, "default"));
  EXPECT_STREQ("untouched", buffer);
  EXPECT_EQ(0, table.getClientInt(s, "k", 7));
  EXPECT_FALSE(table.getClientBool(s, "k", true));
  EXPECT_EQ(0.0f, table.getClientFloat(s, "k", 1.5f));
  table.writeClientString(s, "k", "v");
  table.writeClientInt(s, "k", 1);
  table.writeClientBool(s, "k", true);
  table.writeClientFloat(s, "k", 1.0f);
  EXPECT_FALSE(table.hasPlug(s, "GoodMain"));
  EXPECT_EQ(nullptr, table.getPlugsList(s));
  table.sendEvent(s, "*", "type", nullptr);
  EXPECT_EQ(-1, table.sendRequest(s, "*", buffer, sizeof buffer, "request", nullptr));
  EXPECT_STREQ("untouched", buffer);
  // A session the managers do not know may be a deleted one: its name is never read.
  EXPECT_EQ(24, count("Send Error : Client not found ((unknown)) !\n")) << console();
  EXPECT_EQ(0, count("ghost"));
  std::string last = runs().back();
  EXPECT_EQ(" #000080", last.substr(last.rfind(" #"))) << "in dark red";
}

TEST_F(HostServicesTest, ClientNameIsReadOnlyWhileTheManagersKnowTheSession) {
  start();
  PlugsObject system(PLUGS_SYSTEM_SESSION_NAME);
  plugsManagers->plugList(PLUG_KIND_SYSTEM)->emplace_back();
  PlugRecord& record = plugsManagers->plugList(PLUG_KIND_SYSTEM)->back();
  std::strcpy(record.name, "Probe");
  record.addSession(&system, nullptr);
  // A system session belongs to no client.
  EXPECT_FALSE(table.isConnected(&system));
  EXPECT_EQ(1, count("Send Error : Client not found (Vornith 2 Session) !\n")) << console();
  record.removeSession(&system);
  EXPECT_FALSE(table.isConnected(&system));
  EXPECT_EQ(1, count("Send Error : Client not found ((unknown)) !\n")) << console();
  plugsManagers->plugList(PLUG_KIND_SYSTEM)->pop_back();
}

TEST_F(HostServicesTest, PlugQueriesAnswerOnlyForLoadedPlugins) {
  add({"GoodAddin.vad", "GoodMain.vma"});
  writeKey("Plugs0000", "-GoodMain");
  start();
  ASSERT_NE(nullptr, plugsManagers->findPlug("GoodMain", 0));
  ASSERT_FALSE(plugsManagers->findPlug("GoodMain", 0)->isLoaded());
  EXPECT_FLOAT_EQ(1.25f, table.getPlugVersion("good_ADDIN2"));
  EXPECT_STREQ("Fixture Maker", table.getPlugAuthor("Good_Addin2"));
  // Known but switched off: its factory is gone, so nothing may ask it.
  EXPECT_EQ(0.0f, table.getPlugVersion("GoodMain"));
  EXPECT_EQ(nullptr, table.getPlugAuthor("GoodMain"));
  EXPECT_EQ(0.0f, table.getPlugVersion("Nobody"));
  EXPECT_EQ(nullptr, table.getPlugAuthor("Nobody"));
  EXPECT_EQ(nullptr, table.getPlugAuthor(nullptr));
}

TEST_F(HostServicesTest, TextForAnUnknownClientIsReportedInTheCurrentColour) {
  start();
  setSystemColor(RGB(0, 128, 0));
  sendToClient(table, "nobody", "%s", "hello");
  EXPECT_EQ(std::string("Send Error : Client 'nobody' not found !\r #008000"), runs().back());
  EXPECT_EQ(0, count("hello"));
}

// The host settings entries go straight to section "System" of the settings file.
class SystemServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.path().empty());
    previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    ASSERT_TRUE(folder.write("Vornith.ini",
                             "[System]\nYes=Yes\nOne=1\nTrue=tRUE\nWord=abcdefgh\n"
                             "Half=0.5\n"));
    systemSettings = new SystemSettings();
    fillSdkFunctions(&table);
  }
  void TearDown() override {
    delete systemSettings;
    systemSettings = nullptr;
    std::filesystem::current_path(previous);
  }

  TempFolder folder;
  std::filesystem::path previous;
  SdkFunctions table = {};
};

TEST_F(SystemServicesTest, BooleansAreWordsNotNumbers) {
  EXPECT_TRUE(table.getSystemBool("Yes", false));
  EXPECT_TRUE(table.getSystemBool("True", false));
  EXPECT_FALSE(table.getSystemBool("One", true)) << "\"1\" is not a true word";
  EXPECT_TRUE(table.getSystemBool("Missing", true));
  EXPECT_EQ(1, table.getSystemInt("One", 0));
  EXPECT_FLOAT_EQ(0.5f, table.getSystemFloat("Half", 0.0f));
  table.writeSystemBool("Flag", true);
  table.writeSystemInt("Count", 12);
  EXPECT_NE(std::string::npos, folder.read("Vornith.ini").find("Flag=On\n"))
      << "written at once, not at shut-down";
  EXPECT_EQ(12, table.getSystemInt("Count", 0));
}

TEST_F(SystemServicesTest, StringGetterWritesNothingWithoutRoomAndCutsToTheRoomGiven) {
  struct Case {
    int size;
    bool withBuffer;
    int copied;
    const char* text;
  };
  const Case cases[] = {
      {16, true, 8, "abcdefgh"}, {4, true, 3, "abc"},        {1, true, 0, ""},
      {0, true, 0, "untouched"}, {-5, true, 0, "untouched"}, {16, false, 0, nullptr},
  };
  for (const Case& test : cases) {
    char buffer[16] = "untouched";
    SCOPED_TRACE(test.size);
    EXPECT_EQ(test.copied,
              table.getSystemString("Word", test.withBuffer ? buffer : nullptr, test.size, "-"));
    if (test.text != nullptr) {
      EXPECT_STREQ(test.text, buffer);
    }
  }
}

}  // namespace
