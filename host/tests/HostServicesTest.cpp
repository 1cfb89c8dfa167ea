// The services table as plug-ins reach it: every entry filled, neutral results and one console
// line for a session no client owns (naming the client only when the session is still known),
// plug-in queries that never ask a plug-in that is not loaded, and the host settings entries.
#include "host/HostServices.h"

#include <cstring>

#include "host/Host.h"
#include "host/SystemSettings.h"
#include "host/tests/PlugsFixture.h"
#include "sdk/PlugsObject.h"

namespace {

// Calls an entry that takes its arguments as a va_list.
template <class Target>
void call(void (*entry)(Target, const char*, va_list), Target to, const char* format, ...) {
  va_list args;
  va_start(args, format);
  entry(to, format, args);
  va_end(args);
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
  int count(const std::string& line) {
    std::string text = console();
    int n = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
    return n;
  }
};

TEST_F(HostServicesTest, EveryEntryIsFilledAndASessionOfNoClientGetsNeutralResults) {
  EXPECT_EQ(sizeof(SdkFunctions), table.size);
  void* const* entries = reinterpret_cast<void* const*>(&table);
  // Entry 0 is the size, 1 and 2 the instance and the system window (none in this test).
  for (size_t i = 3; i < sizeof table / sizeof(void*); ++i)
    EXPECT_NE(nullptr, entries[i]) << "entry " << i;

  plugsManagers = &loadAll();
  PlugsObject ghost("ghost");
  PlugsObject* s = &ghost;
  char buffer[16] = "untouched";
  table.disconnect(s);
  table.connect(s);
  EXPECT_FALSE(table.isConnected(s));
  table.addServer(s, "host", 1, 0);
  call(table.sendData, s, "%s", "line");
  table.defineColor(s, "c", "C", 1, 2, 3);
  EXPECT_EQ(0u, table.getColor(s, "c"));
  table.setColor(s, "c", 1, 2, 3);
  table.defineFont(s, "f", "F", "Courier", 10, 1);
  EXPECT_EQ(nullptr, table.getFont(s, "f").face);
  table.setFont(s, "f", "Courier", 10, 1);
  EXPECT_FALSE(table.hasEvent(s, "tell"));
  EXPECT_EQ(0, table.getClientString(s, "k", buffer, sizeof buffer, "default"));
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
}

TEST_F(HostServicesTest, ClientNameIsReadOnlyWhileTheManagersKnowTheSession) {
  plugsManagers = &loadAll();
  PlugsObject system(PLUGS_SYSTEM_SESSION_NAME);
  PlugList* list = plugsManagers->plugList(PLUG_KIND_SYSTEM);
  list->emplace_back();
  std::strcpy(list->back().name, "Probe");
  list->back().addSession(&system, nullptr);
  EXPECT_FALSE(table.isConnected(&system));  // a system session belongs to no client
  EXPECT_EQ(1, count("Send Error : Client not found (Vornith 2 Session) !\n")) << console();
  list->back().removeSession(&system);
  EXPECT_FALSE(table.isConnected(&system));
  EXPECT_EQ(1, count("Send Error : Client not found ((unknown)) !\n")) << console();
  list->pop_back();

  setSystemColor(RGB(0, 128, 0));
  call(table.sendDataToClient, "nobody", "%s", "hello");
  EXPECT_EQ("Send Error : Client 'nobody' not found !\n #008000", runs().back());
  EXPECT_EQ(0, count("hello"));
}

TEST_F(HostServicesTest, PlugQueriesAnswerOnlyForLoadedPlugins) {
  add({"GoodAddin.vad", "GoodMain.vma"});
  writeKey("Plugs0000", "-GoodMain");
  plugsManagers = &loadAll();
  EXPECT_FLOAT_EQ(1.25f, table.getPlugVersion("good_ADDIN2"));
  EXPECT_STREQ("Fixture Maker", table.getPlugAuthor("Good_Addin2"));
  // Known but switched off: its factory is gone, so nothing may ask it.
  for (const char* name : {"GoodMain", "Nobody", static_cast<const char*>(nullptr)}) {
    EXPECT_EQ(0.0f, table.getPlugVersion(name ? name : "")) << (name ? name : "(null)");
    EXPECT_EQ(nullptr, table.getPlugAuthor(name)) << (name ? name : "(null)");
  }
}

// The host settings entries go straight to section "System" of the settings file.
TEST(SystemServicesTest, BooleansAreWordsAndStringsAreCutToTheRoomGiven) {
  InFolder here;
  ASSERT_TRUE(here.folder.write("Vornith.ini", "[System]\nYes=Yes\nOne=1\nWord=abcdefgh\n"));
  systemSettings = new SystemSettings();
  SdkFunctions table = {};
  fillSdkFunctions(&table);
  EXPECT_TRUE(table.getSystemBool("Yes", false));
  EXPECT_FALSE(table.getSystemBool("One", true)) << "\"1\" is not a true word";
  EXPECT_TRUE(table.getSystemBool("Missing", true));
  table.writeSystemBool("Flag", true);
  EXPECT_NE(std::string::npos, here.folder.read("Vornith.ini").find("Flag=On\n"))
      << "written at once, not at shut-down";
  const struct {
    int size;
    bool withBuffer;
    int copied;
    const char* text;
  } cases[] = {
      {16, true, 8, "abcdefgh"}, {4, true, 3, "abc"},        {1, true, 0, ""},
      {0, true, 0, "untouched"}, {-5, true, 0, "untouched"}, {16, false, 0, nullptr},
  };
  for (const auto& c : cases) {
    char buffer[16] = "untouched";
    EXPECT_EQ(c.copied, table.getSystemString("Word", c.withBuffer ? buffer : nullptr, c.size, "-"))
        << c.size;
    if (c.text != nullptr) {
      EXPECT_STREQ(c.text, buffer) << c.size;
    }
  }
  delete systemSettings;
  systemSettings = nullptr;
}

}  // namespace
