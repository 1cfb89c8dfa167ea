// ShellExecuteA's allow-list (links of a few schemes and harmless local files) as recorded
// calls, and files dropped on a window arriving as WM_DROPFILES.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/tests/TempFolder.h"
#include "platform/tests/WindowTestKit.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vorntest::recordShellExecute(true);
    vorntest::clearShellExecuteCalls();
    windowtest::reset();
  }
  void TearDown() override {
    vorntest::recordShellExecute(false);
    vorntest::clearShellExecuteCalls();
    windowtest::reset();
  }
};

INT_PTR shellOpen(const char* target, const char* operation = "open") {
  return reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, operation, target, nullptr, nullptr, SW_SHOWNORMAL));
}

TEST_F(ShellTest, OnlyAllowedLinkSchemesOpen) {
  struct Case {
    const char* target;
    const char* url;  // what the desktop gets; null when refused
  };
  const Case cases[] = {
      {"http://example.org/a?b=c", "http://example.org/a?b=c"},
      {"HTTPS://Example.org/", "https://example.org/"},
      {"ftp://files.example.org/x.zip", "ftp://files.example.org/x.zip"},
      {"mailto:ann@example.org", "mailto:ann@example.org"},
      {"www.example.org/page", "http://www.example.org/page"},
      {"javascript:alert(1)", nullptr},
      {"file:///etc/passwd", nullptr},
      {"c:\\windows\\system32\\cmd.exe", nullptr},
      {"notes.txt", nullptr},
      {"", nullptr},
      {"http://", nullptr},
      {"http://exa mple.org", nullptr},
      {"http://example.org/\nfile:///x", nullptr},
      {"wwwexample.org", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    INT_PTR result = shellOpen(c.target);
    vorntest::ShellExecuteCall call = vorntest::shellExecuteCalls().back();
    EXPECT_EQ(result > 32, c.url != nullptr);
    EXPECT_EQ(call.url, c.url ? c.url : "");
  }
  // A null target and an unknown verb are refused too.
  EXPECT_EQ(shellOpen(nullptr), SE_ERR_FNF);
  EXPECT_EQ(shellOpen("http://example.org", "print"), SE_ERR_NOASSOC);
  EXPECT_EQ(shellOpen("javascript:x"), SE_ERR_NOASSOC);
}

TEST_F(ShellTest, LocalFilesOpenOnlyWhenTheyCannotRunAnything) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  ASSERT_TRUE(folder.write("notes.txt", "hello"));
  ASSERT_TRUE(folder.write("run.sh", "#!/bin/sh\n"));
  ASSERT_TRUE(folder.write("app.desktop", "[Desktop Entry]\n"));
  std::filesystem::permissions(folder.file("run.sh"), std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  std::string windowsStyle = folder.file("notes.txt");
  for (char& c : windowsStyle)
    if (c == '/') c = '\\';
  struct Case {
    std::string target;
    bool allowed;
  };
  const Case cases[] = {
      {folder.file("notes.txt"), true},
      {windowsStyle, true},
      {folder.path(), true},
      {folder.file("run.sh"), false},
      {folder.file("app.desktop"), false},
      {folder.file("missing.txt"), false},
      {"/bin/sh", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    INT_PTR result = shellOpen(c.target.c_str());
    vorntest::ShellExecuteCall call = vorntest::shellExecuteCalls().back();
    EXPECT_EQ(call.allowed, c.allowed);
    EXPECT_EQ(result > 32, c.allowed);
    EXPECT_EQ(call.url.rfind("file:///", 0) == 0, c.allowed);
  }
  EXPECT_EQ(shellOpen(folder.file("missing.txt").c_str()), SE_ERR_FNF);
}

std::string droppedName(HDROP drop, UINT index) {
  UINT length = DragQueryFileA(drop, index, nullptr, 0);
  std::string name(length + 1, '\0');
  EXPECT_EQ(DragQueryFileA(drop, index, &name[0], length + 1), length);
  name.resize(length);
  return name;
}

TEST_F(ShellTest, DroppedFilesArriveAsDropFilesMessage) {
  HWND top = windowtest::makeTop();
  ASSERT_NE(top, nullptr);
  EXPECT_FALSE(vorntest::dropFiles(top, {"/data/a.txt"}));  // not accepting yet
  DragAcceptFiles(top, TRUE);
  int dropsBefore = vorntest::openDrops();
  ASSERT_TRUE(vorntest::dropFiles(top, {"/data/a.txt", "/home/ann/caf\xC3\xA9 b.png"}, 30, 40));
  ASSERT_TRUE(vorntest::pumpUntil(
      [&]() { return !windowtest::messagesOf(top, WM_DROPFILES).empty(); }, 2000));
  HDROP drop = reinterpret_cast<HDROP>(windowtest::messagesOf(top, WM_DROPFILES)[0].wParam);

  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
  EXPECT_EQ(droppedName(drop, 0), "/data/a.txt");
  EXPECT_EQ(droppedName(drop, 1), "/home/ann/caf\xC3\xA9 b.png");
  EXPECT_EQ(DragQueryFileA(drop, 2, nullptr, 0), 0u);
  char small[5];
  EXPECT_EQ(DragQueryFileA(drop, 0, small, sizeof small), 4u);
  EXPECT_STREQ(small, "/dat");
  POINT point{};
  EXPECT_TRUE(DragQueryPoint(drop, &point));
  EXPECT_TRUE(point.x == 30 && point.y == 40);

  EXPECT_EQ(vorntest::openDrops(), dropsBefore + 1);
  DragFinish(drop);
  EXPECT_EQ(vorntest::openDrops(), dropsBefore);
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 0u);  // a freed drop is dead

  DragAcceptFiles(top, FALSE);
  EXPECT_FALSE(vorntest::dropFiles(top, {"/data/a.txt"}));
  DestroyWindow(top);
}

}  // namespace
