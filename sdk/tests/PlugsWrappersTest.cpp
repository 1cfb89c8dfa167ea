#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "sdk/PlugsInOutSession.h"
#include "sdk/PlugsMainSession.h"
#include "sdk/PlugsModule.h"
#include "sdk/PlugsSystemSession.h"

namespace {

// What the fake host saw, one line per call, naming the caller's client where there is one.
std::vector<std::string> calls;

void record(const char* format, ...) __attribute__((format(printf, 1, 2)));
void record(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof(line), format, args);
  va_end(args);
  calls.push_back(line);
}

const char* who(PlugsObject* session) { return session->getClientName(); }

std::string formatted(const char* format, va_list args) {
  char text[256];
  vsnprintf(text, sizeof(text), format, args);
  return text;
}

HWND const kTab = reinterpret_cast<HWND>(0x51);

SdkFunctions fakeHost() {
  SdkFunctions t{};
  t.size = sizeof(SdkFunctions);
  t.instance = reinterpret_cast<HINSTANCE>(0x10);
  t.systemWindow = reinterpret_cast<HWND>(0x20);
  t.getHostVersion = [] { return 2.0f; };
  t.setSystemColor = [](int r, int g, int b) { record("setSystemColor %d %d %d", r, g, b); };
  t.printSystemV = [](const char* f, va_list a) {
    record("printSystem %s", formatted(f, a).c_str());
  };
  t.sendDataToClient = [](const char* c, const char* f, va_list a) {
    record("sendDataToClient %s %s", c, formatted(f, a).c_str());
  };
  t.disconnect = [](PlugsObject* s) { record("disconnect %s", who(s)); };
  t.connect = [](PlugsObject* s) { record("connect %s", who(s)); };
  t.isConnected = [](PlugsObject* s) { return record("isConnected %s", who(s)), true; };
  t.addServer = [](PlugsObject* s, const char* h, int p, int f) {
    record("addServer %s %s:%d %d", who(s), h, p, f);
  };
  t.sendData = [](PlugsObject* s, const char* f, va_list a) {
    record("sendData %s %s", who(s), formatted(f, a).c_str());
  };
  t.addSystemTab = [](const char* title) { return record("addSystemTab %s", title), kTab; };
  t.removeSystemTab = [](HWND w) { record("removeSystemTab %d", w == kTab); };
  t.highlightSystemTab = [](HWND w, bool on) { record("highlight %d %d", w == kTab, on); };
  t.selectSystemTab = [](HWND w) { record("selectSystemTab %d", w == kTab); };
  t.isSystemTabSelected = [](HWND w) { return w == kTab; };
  t.setSystemTabText = [](HWND w, const char* s) { record("tabText %d %s", w == kTab, s); };
  t.checkKeyPressed = [](int key) { return key == 'K'; };
  t.defineColor = [](PlugsObject* s, const char* n, const char* l, int r, int g, int b) {
    record("defineColor %s %s %s %d %d %d", who(s), n, l, r, g, b);
  };
  t.getColor = [](PlugsObject*, const char*) { return COLORREF(RGB(1, 2, 3)); };
  t.setColor = [](PlugsObject* s, const char* n, int r, int g, int b) {
    record("setColor %s %s %d %d %d", who(s), n, r, g, b);
  };
  t.defineFont = [](PlugsObject* s, const char* n, const char* l, const char* f, int z, int y) {
    record("defineFont %s %s %s %s %d %d", who(s), n, l, f, z, y);
  };
  t.getFont = [](PlugsObject*, const char*) { return FontRecord{"Courier", 10, 2}; };
  t.setFont = [](PlugsObject* s, const char* n, const char* f, int z, int y) {
    record("setFont %s %s %s %d %d", who(s), n, f, z, y);
  };
  t.hasEvent = [](PlugsObject*, const char* e) { return e[0] == 't'; };
  t.getClientString = [](PlugsObject* s, const char* k, char* buf, int size, const char* d) {
    return snprintf(buf, size, "%s/%s/%s", who(s), k, d);
  };
  t.getClientInt = [](PlugsObject*, const char*, int d) { return d + 1; };
  t.getClientBool = [](PlugsObject*, const char*, bool d) { return !d; };
  t.getClientFloat = [](PlugsObject*, const char*, float d) { return d * 2; };
  t.writeClientString = [](PlugsObject* s, const char* k, const char* v) {
    record("writeClientString %s %s=%s", who(s), k, v);
  };
  t.writeClientInt = [](PlugsObject* s, const char* k, int v) {
    record("writeClientInt %s %s=%d", who(s), k, v);
  };
  t.writeClientBool = [](PlugsObject* s, const char* k, bool v) {
    record("writeClientBool %s %s=%d", who(s), k, v);
  };
  t.writeClientFloat = [](PlugsObject* s, const char* k, float v) {
    record("writeClientFloat %s %s=%.2f", who(s), k, v);
  };
  t.hasPlug = [](PlugsObject*, const char* p) { return p[0] == 'N'; };
  t.getPlugAuthor = [](const char*) { return "someone"; };
  t.getPlugVersion = [](const char*) { return 1.25f; };
  t.getPlugsList = [](PlugsObject*) { return "M:1 A:0 I:0"; };
  t.sendEvent = [](PlugsObject* s, const char* to, const char* type, void* data) {
    record("sendEvent %s %s %s %s", who(s), to, type, static_cast<const char*>(data));
  };
  t.sendRequest = [](PlugsObject* s, const char* to, char* answer, int size, const char* req,
                     void*) { return snprintf(answer, size, "%s>%s:%s", who(s), to, req); };
  t.updatePlug = [](const char* f) { record("updatePlug %s", f); };
  t.getSystemString = [](const char* k, char* buf, int size, const char* d) {
    return snprintf(buf, size, "%s|%s", k, d);
  };
  t.getSystemInt = [](const char*, int d) { return d + 10; };
  t.getSystemBool = [](const char*, bool d) { return !d; };
  t.getSystemFloat = [](const char*, float d) { return d + 0.5f; };
  t.writeSystemString = [](const char* k, const char* v) { record("sysString %s=%s", k, v); };
  t.writeSystemInt = [](const char* k, int v) { record("sysInt %s=%d", k, v); };
  t.writeSystemBool = [](const char* k, bool v) { record("sysBool %s=%d", k, v); };
  t.writeSystemFloat = [](const char* k, float v) { record("sysFloat %s=%.1f", k, v); };
  return t;
}

class Wrappers : public ::testing::Test {
 protected:
  void SetUp() override { calls.clear(); }
  void TearDown() override { clearPlugsHostTable(); }
  void install(SdkFunctions* table) { ASSERT_TRUE(plugsSetHandlers(table, table->size)); }

  PlugsMainSession main{"Alpha"};
  PlugsSystemSession system{"Vornith 2 Session"};
  char buffer[64] = "untouched";
};

// Every service the sessions reach returns its neutral value and records nothing.
void expectNeutral(PlugsMainSession& s, PlugsSystemSession& sys, char* buffer) {
  EXPECT_EQ(0.0f, s.getHostVersion());
  EXPECT_EQ(nullptr, s.getSystemWindow());
  EXPECT_EQ(nullptr, s.getInstance());
  EXPECT_FALSE(s.checkKeyPressed('K'));
  EXPECT_EQ(nullptr, s.addSystemTab("tab"));
  EXPECT_FALSE(s.isSystemTabSelected(kTab));
  EXPECT_EQ(nullptr, s.getPlugAuthor("NevChat"));
  EXPECT_EQ(0.0f, s.getPlugVersion("NevChat"));
  EXPECT_EQ(-1, s.sendRequest("@", buffer, 64, "login", nullptr));
  EXPECT_FALSE(s.isConnected());
  EXPECT_EQ(0u, s.getColor("text"));
  FontRecord font = s.getFont("text");
  EXPECT_EQ(nullptr, font.face);
  EXPECT_EQ(0, font.size);
  EXPECT_EQ(0, font.style);
  EXPECT_FALSE(s.hasEvent("tell"));
  EXPECT_EQ(-1, s.getClientString("k", buffer, 64, "d"));
  EXPECT_EQ(0, s.getClientInt("k", 7));
  EXPECT_FALSE(s.getClientBool("k", true));
  EXPECT_EQ(0.0f, s.getClientFloat("k", 1.5f));
  EXPECT_FALSE(s.hasPlug("NevTell"));
  EXPECT_EQ(nullptr, s.getPlugsList());
  EXPECT_EQ(-1, sys.getSystemString("k", buffer, 64, "d"));
  EXPECT_EQ(0, sys.getSystemInt("k", 7));
  EXPECT_FALSE(sys.getSystemBool("k", true));
  EXPECT_EQ(0.0f, sys.getSystemFloat("k", 1.5f));
  EXPECT_STREQ("untouched", buffer);

  // Procedures do nothing at all.
  s.setSystemColor(1, 2, 3);
  s.printSystem("x %d", 1);
  s.removeSystemTab(kTab);
  s.highlightSystemTab(kTab, true);
  s.selectSystemTab(kTab);
  s.setSystemTabText(kTab, "t");
  s.sendEvent("*", "type", nullptr);
  s.updatePlug("a.vad");
  s.disconnect();
  s.connect();
  s.addServer("h", 1, 0);
  s.sendData("x %d", 1);
  s.defineColor("n", "l", 1, 2, 3);
  s.setColor("n", 1, 2, 3);
  s.defineFont("n", "l", "f", 1, 2);
  s.setFont("n", "f", 1, 2);
  s.writeClientString("k", "v");
  s.writeClientInt("k", 1);
  s.writeClientBool("k", true);
  s.writeClientFloat("k", 1.0f);
  sys.sendDataToClient("c", "x %d", 1);
  sys.writeSystemString("k", "v");
  sys.writeSystemInt("k", 1);
  sys.writeSystemBool("k", true);
  sys.writeSystemFloat("k", 1.0f);
  EXPECT_TRUE(calls.empty());
}

TEST_F(Wrappers, WithoutATableEveryServiceIsNeutral) {
  clearPlugsHostTable();
  expectNeutral(main, system, buffer);
}

TEST_F(Wrappers, WithEmptyEntriesEveryServiceIsNeutral) {
  SdkFunctions empty{};
  empty.size = sizeof(SdkFunctions);
  install(&empty);
  expectNeutral(main, system, buffer);
}

TEST_F(Wrappers, EntriesBeyondAShortTableAreNotRead) {
  // A short host table may be followed by anything; the system settings entries must not be
  // taken from there.
  SdkFunctions table = fakeHost();
  table.size = kSdkFunctionsShortSize;
  install(&table);
  EXPECT_EQ(-1, system.getSystemString("k", buffer, 64, "d"));
  EXPECT_EQ(0, system.getSystemInt("k", 7));
  system.writeSystemInt("k", 1);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(2.0f, system.getHostVersion());  // entries inside the short table still work
}

TEST_F(Wrappers, ResultsAndArgumentsPassThrough) {
  SdkFunctions table = fakeHost();
  install(&table);
  EXPECT_EQ(2.0f, main.getHostVersion());
  EXPECT_EQ(table.systemWindow, main.getSystemWindow());
  EXPECT_EQ(table.instance, main.getInstance());
  EXPECT_TRUE(main.checkKeyPressed('K'));
  EXPECT_EQ(kTab, main.addSystemTab("Tray"));
  EXPECT_TRUE(main.isSystemTabSelected(kTab));
  EXPECT_STREQ("someone", main.getPlugAuthor("NevChat"));
  EXPECT_EQ(1.25f, main.getPlugVersion("NevChat"));
  EXPECT_TRUE(main.isConnected());
  EXPECT_EQ(RGB(1, 2, 3), main.getColor("text"));
  FontRecord font = main.getFont("text");
  EXPECT_STREQ("Courier", font.face);
  EXPECT_EQ(10, font.size);
  EXPECT_EQ(2, font.style);
  EXPECT_TRUE(main.hasEvent("tell"));
  EXPECT_FALSE(main.hasEvent("away"));
  EXPECT_EQ(15, main.getClientString("nick", buffer, sizeof(buffer), "none"));
  EXPECT_STREQ("Alpha/nick/none", buffer);
  EXPECT_EQ(8, main.getClientInt("k", 7));
  EXPECT_TRUE(main.getClientBool("k", false));
  EXPECT_EQ(3.0f, main.getClientFloat("k", 1.5f));
  EXPECT_TRUE(main.hasPlug("NevTell"));
  EXPECT_STREQ("M:1 A:0 I:0", main.getPlugsList());
  EXPECT_EQ(13, main.sendRequest("@", buffer, sizeof(buffer), "login", nullptr));
  EXPECT_STREQ("Alpha>@:login", buffer);
  EXPECT_EQ(7, system.getSystemString("Key", buffer, sizeof(buffer), "def"));
  EXPECT_STREQ("Key|def", buffer);
  EXPECT_EQ(17, system.getSystemInt("k", 7));
  EXPECT_TRUE(system.getSystemBool("k", false));
  EXPECT_EQ(2.0f, system.getSystemFloat("k", 1.5f));
}

TEST_F(Wrappers, ProceduresReachTheHostWithTheSessionAndTheirArguments) {
  SdkFunctions table = fakeHost();
  install(&table);
  char data[] = "payload";
  const struct {
    std::function<void()> call;
    const char* expected;
  } cases[] = {
      {[&] { main.setSystemColor(10, 20, 30); }, "setSystemColor 10 20 30"},
      {[&] { main.printSystem("%s=%d %.1f", "n", 42, 0.5); }, "printSystem n=42 0.5"},
      {[&] { main.removeSystemTab(kTab); }, "removeSystemTab 1"},
      {[&] { main.highlightSystemTab(kTab, true); }, "highlight 1 1"},
      {[&] { main.selectSystemTab(kTab); }, "selectSystemTab 1"},
      {[&] { main.setSystemTabText(kTab, "Title"); }, "tabText 1 Title"},
      {[&] { main.sendEvent("NevTell", "query", data); }, "sendEvent Alpha NevTell query payload"},
      {[&] { main.updatePlug("NevTell.vad"); }, "updatePlug NevTell.vad"},
      {[&] { main.disconnect(); }, "disconnect Alpha"},
      {[&] { main.connect(); }, "connect Alpha"},
      {[&] { main.addServer("chat.example", 4000, 1); }, "addServer Alpha chat.example:4000 1"},
      {[&] { main.sendData("tell %s %s", "bob", "hi"); }, "sendData Alpha tell bob hi"},
      {[&] { main.defineColor("me", "My text", 1, 2, 3); }, "defineColor Alpha me My text 1 2 3"},
      {[&] { main.setColor("me", 4, 5, 6); }, "setColor Alpha me 4 5 6"},
      {[&] { main.defineFont("f", "Font", "Arial", 9, 1); }, "defineFont Alpha f Font Arial 9 1"},
      {[&] { main.setFont("f", "Mono", 11, 0); }, "setFont Alpha f Mono 11 0"},
      {[&] { main.writeClientString("k", "v"); }, "writeClientString Alpha k=v"},
      {[&] { main.writeClientInt("k", -3); }, "writeClientInt Alpha k=-3"},
      {[&] { main.writeClientBool("k", true); }, "writeClientBool Alpha k=1"},
      {[&] { main.writeClientFloat("k", 2.5f); }, "writeClientFloat Alpha k=2.50"},
      {[&] { system.sendDataToClient("Beta", "%s %d", "x", 7); }, "sendDataToClient Beta x 7"},
      {[&] { system.writeSystemString("k", "v"); }, "sysString k=v"},
      {[&] { system.writeSystemInt("k", 5); }, "sysInt k=5"},
      {[&] { system.writeSystemBool("k", false); }, "sysBool k=0"},
      {[&] { system.writeSystemFloat("k", 0.5f); }, "sysFloat k=0.5"},
  };
  for (const auto& c : cases) {
    calls.clear();
    c.call();
    ASSERT_EQ(1u, calls.size()) << c.expected;
    EXPECT_EQ(c.expected, calls[0]);
  }
}

TEST(SessionDefaults, HooksLeaveEverythingUnchanged) {
  PlugsInOutSession inOut("Alpha");
  EXPECT_EQ(nullptr, inOut.onReceivedData("line\n"));
  EXPECT_EQ(nullptr, inOut.onDataToSend("line\n"));
  EXPECT_EQ(0, inOut.getBackupSizeNeeded());
  EXPECT_FALSE(inOut.hasSetupWindow());
  char answer[8] = "";
  EXPECT_EQ(-1, inOut.onRequest("NevTell", answer, sizeof(answer), "login", nullptr));

  PlugsSystemSession system("Vornith 2 Session");
  const char* text = "hello";
  EXPECT_EQ(text, system.onReceivedData("Alpha", text));
  EXPECT_EQ(text, system.onDataToSend("Alpha", text));
  EXPECT_FALSE(system.onWindowMessage(nullptr, 0, 0, 0));
  EXPECT_FALSE(system.onEvent("Alpha", 1, "tell", nullptr));
  EXPECT_FALSE(system.onCommandLine("/quit"));
}

}  // namespace
