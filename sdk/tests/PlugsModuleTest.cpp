#include "sdk/PlugsModule.h"

#include <gtest/gtest.h>

#include <cstring>

#include "lib/RootWindow.h"
#include "sdk/PlugsExports.h"
#include "sdk/PlugsMainSession.h"
#include "sdk/VornithPlugsFactory.h"

// The entry points exactly as a plug-in module defines them.
VORNITH_PLUGIN_EXPORTS()

namespace {

int sessionsDestroyed = 0;

class CountedSession : public PlugsMainSession {
 public:
  explicit CountedSession(const char* clientName) : PlugsMainSession(clientName) {}
  ~CountedSession() override { ++sessionsDestroyed; }
};

class TestFactory : public VornithPlugsFactory {
 public:
  int init() override { return 1; }
  void term() override { plugsTermRootWindow(root); }
  const char* name() override { return "Test_Plug"; }
  float version() override { return 1.5f; }
  int kind() override { return PLUG_KIND_MAIN; }
  const char* author() override { return "tests"; }
  const char* shortDescription() override { return "a factory for tests"; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* client) override {
    return plugsNewSession<CountedSession>(client);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }

  RootWindow* root = nullptr;
};

int rootsDestroyed = 0;

class CountedRoot : public RootWindow {
 public:
  ~CountedRoot() override { ++rootsDestroyed; }
};

class PlugsModule : public ::testing::Test {
 protected:
  void SetUp() override {
    clearPlugsHostTable();
    setPlugsFactory(nullptr);
    setPlugsModuleInstance(nullptr);
  }
  void TearDown() override {
    clearPlugsHostTable();
    setPlugsFactory(nullptr);
    setPlugsModuleInstance(nullptr);
  }
  SdkFunctions table{};
};

TEST_F(PlugsModule, LibVersionIsExactlyTwo) { EXPECT_EQ(2.0f, LibVersion()); }

TEST_F(PlugsModule, SetHandlersChecksTheTableSizeAgainstTheBuild) {
  EXPECT_EQ(392u, kSdkFunctionsFullSize);
  EXPECT_EQ(328u, kSdkFunctionsShortSize);
  EXPECT_FALSE(SetHandlers(nullptr));
  const uint32_t full = kSdkFunctionsFullSize, small = kSdkFunctionsShortSize;
  const struct {
    uint32_t builtFor, size;
    bool accepted;
  } cases[] = {{full, 0, false},     {full, small, false},     {full, full - 1, false},
               {full, full, true},   {full, full + 100, true}, {small, small - 1, false},
               {small, small, true}, {small, full, true}};
  for (const auto& c : cases) {
    clearPlugsHostTable();
    table.size = c.size;
    bool accepted = c.builtFor == full ? SetHandlers(&table) : plugsSetHandlers(&table, small);
    EXPECT_EQ(c.accepted, accepted) << c.builtFor << " " << c.size;
    EXPECT_EQ(c.accepted ? &table : nullptr, plugsHostTable()) << c.builtFor << " " << c.size;
  }
}

TEST_F(PlugsModule, RefusedTableKeepsTheAcceptedOne) {
  table.size = kSdkFunctionsFullSize;
  ASSERT_TRUE(SetHandlers(&table));
  SdkFunctions small{};
  small.size = kSdkFunctionsFullSize - 1;
  EXPECT_FALSE(SetHandlers(&small));
  EXPECT_EQ(&table, plugsHostTable());
}

TEST_F(PlugsModule, InstanceIsTheModuleHoldingTheCodeUnlessAlreadyKnown) {
  table.size = kSdkFunctionsFullSize;
  table.instance = reinterpret_cast<HINSTANCE>(0x1234);
  ASSERT_TRUE(SetHandlers(&table));
  // Linked into the test program, the module is the program itself, not the host.
  EXPECT_EQ(GetModuleHandleA(nullptr), plugsModuleInstance());
  EXPECT_NE(table.instance, plugsModuleInstance());

  // Even a refused table leaves the instance known.
  setPlugsModuleInstance(nullptr);
  EXPECT_FALSE(SetHandlers(nullptr));
  EXPECT_EQ(GetModuleHandleA(nullptr), plugsModuleInstance());

  setPlugsModuleInstance(reinterpret_cast<HINSTANCE>(0x99));
  ASSERT_TRUE(SetHandlers(&table));
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(0x99), plugsModuleInstance());
}

TEST_F(PlugsModule, FactoryRegistersItselfWhenConstructed) {
  EXPECT_EQ(nullptr, GetPlugsFactory());
  TestFactory factory;
  EXPECT_EQ(&factory, GetPlugsFactory());
  VornithPlugsFactory* asHost = GetPlugsFactory();
  EXPECT_EQ(PLUG_KIND_MAIN, asHost->kind());
  EXPECT_STREQ("Test_Plug", asHost->name());
  // The factory carries no data: the host sees a table pointer and nothing else.
  EXPECT_EQ(sizeof(void*), sizeof(VornithPlugsFactory));
}

TEST_F(PlugsModule, GenericSessionOperations) {
  TestFactory factory;
  sessionsDestroyed = 0;
  PlugsObject* session = factory.newSession(PLUGS_SYSTEM_SESSION_NAME);
  ASSERT_NE(nullptr, session);
  EXPECT_STREQ("Vornith 2 Session", session->getClientName());
  ASSERT_NE(nullptr, dynamic_cast<CountedSession*>(session));
  factory.deleteSession(session);
  EXPECT_EQ(1, sessionsDestroyed);  // through the virtual destructor
  factory.deleteSession(nullptr);
  EXPECT_EQ(1, sessionsDestroyed);
}

TEST_F(PlugsModule, TermDestroysTheRootWindowOnce) {
  TestFactory factory;
  rootsDestroyed = 0;
  factory.term();  // no root yet
  EXPECT_EQ(0, rootsDestroyed);
  factory.root = new CountedRoot();
  factory.term();
  EXPECT_EQ(1, rootsDestroyed);
  EXPECT_EQ(nullptr, factory.root);
  factory.term();
  EXPECT_EQ(1, rootsDestroyed);
}

TEST_F(PlugsModule, ClientNameIsACopyAtTheFirstDataMember) {
  char name[] = "Client One";
  PlugsMainSession session(name);
  name[0] = 'X';
  EXPECT_STREQ("Client One", session.getClientName());
  // The host reads the name right after the table pointer.
  const char* raw =
      *reinterpret_cast<char* const*>(reinterpret_cast<const char*>(&session) + sizeof(void*));
  EXPECT_EQ(session.getClientName(), raw);

  PlugsMainSession unnamed(nullptr);
  EXPECT_EQ(nullptr, unnamed.getClientName());
}

}  // namespace
