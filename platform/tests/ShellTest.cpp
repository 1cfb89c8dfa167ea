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
      {"news:comp.lang.c", "news:comp.lang.c"},
      {"www.example.org/page", "http://www.example.org/page"},
      {"WWW.example.org", "http://www.example.org"},
      {"javascript:alert(1)", nullptr},
      {"file:///etc/passwd", nullptr},
      {"FILE:///bin/sh", nullptr},
      {"smb://host/share", nullptr},
      {"c:\\windows\\system32\\cmd.exe", nullptr},
      {"notes.txt", nullptr},
      {"../secret", nullptr},
      {"", nullptr},
      {"http://", nullptr},
      {"mailto:", nullptr},
      {"http://exa mple.org", nullptr},
      {"http://example.org/\nfile:///x", nullptr},
      {"wwwexample.org", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    INT_PTR result = shellOpen(c.target);
    vorntest::ShellExecuteCall call = vorntest::shellExecuteCalls().back();
    EXPECT_EQ(call.target, c.target);
    EXPECT_EQ(call.operation, "open");
    EXPECT_EQ(call.result, result);
    EXPECT_EQ(call.allowed, c.url != nullptr);
    if (c.url != nullptr) {
      EXPECT_GT(result, 32);
      EXPECT_EQ(call.url, c.url);
    } else {
      EXPECT_LE(result, 32);
      EXPECT_TRUE(call.url.empty());
    }
  }
  // A null target and an unknown verb are refused too.
  EXPECT_EQ(shellOpen(nullptr), SE_ERR_FNF);
  EXPECT_EQ(shellOpen("http://example.org", "print"), SE_ERR_NOASSOC);
  EXPECT_GT(shellOpen("http://example.org", nullptr), 32);
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
    if (c.allowed) {
      EXPECT_EQ(call.url.rfind("file:///", 0), 0u);
    }
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
  EXPECT_NE(GetWindowLongA(top, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
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
  EXPECT_EQ(point.x, 30);
  EXPECT_EQ(point.y, 40);

  EXPECT_EQ(vorntest::openDrops(), dropsBefore + 1);
  DragFinish(drop);
  EXPECT_EQ(vorntest::openDrops(), dropsBefore);
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 0u);  // a freed drop is dead

  DragAcceptFiles(top, FALSE);
  EXPECT_EQ(GetWindowLongA(top, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  EXPECT_FALSE(vorntest::dropFiles(top, {"/data/a.txt"}));
  DestroyWindow(top);
  EXPECT_FALSE(vorntest::dropFiles(top, {"/data/a.txt"}));
}

}  // namespace
