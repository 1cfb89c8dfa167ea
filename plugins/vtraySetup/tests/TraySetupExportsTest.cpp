// The tray settings-form library loaded by name: its entry points, the form inside a foreign
// parent, the current form forgotten when its parent destroys it, and a look at the form.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/testing.h"
#include "plugins/SettingsForm/SettingsFormAbi.h"

namespace {

template <typename Proc>
Proc bound(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The n-th child window in creation order.
HWND childAt(HWND parent, int n) {
  HWND child = GetWindow(parent, GW_CHILD);
  while (child && n-- > 0) child = GetWindow(child, GW_HWNDNEXT);
  return child;
}

class TraySetupExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library = LoadLibraryA(VTRAYSETUP_LIBRARY);
    ASSERT_NE(library, nullptr);
    createForm = bound<FormCreateProc>(library, "CreateForm");
    ASSERT_NE(createForm, nullptr);
    for (int i = 0; i < 3; ++i) {
      get[i] = bound<FormGetProc>(library, kGetNames[i]);
      set[i] = bound<FormSetProc>(library, kSetNames[i]);
    }
    parent = CreateWindowExA(0, "Static", "setup", WS_OVERLAPPEDWINDOW, 0, 0, 800, 440, nullptr,
                             nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
    if (library) FreeLibrary(library);
  }
  FormWord values() { return get[0]() << 8 | get[1]() << 4 | get[2](); }

  static constexpr const char* kGetNames[3] = {"GetHideWhenMinimize", "GetSimpleClickToUntray",
                                               "GetChatMeter"};
  static constexpr const char* kSetNames[3] = {"SetHideWhenMinimize", "SetSimpleClickToUntray",
                                               "SetChatMeter"};
  HMODULE library = nullptr;
  HWND parent = nullptr;
  FormCreateProc createForm = nullptr;
  FormGetProc get[3] = {};
  FormSetProc set[3] = {};
};

TEST_F(TraySetupExportsTest, NoFormMeansZeroThenAFormAnswersOnlyTheLow16Bits) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(get[i] && set[i]) << kGetNames[i];
  set[2](1);
  EXPECT_EQ(createForm(0), 0u);  // no parent window: no form
  EXPECT_EQ(values(), 0x000u);

  HWND form = reinterpret_cast<HWND>(createForm(reinterpret_cast<FormWord>(parent)));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(GetParent(form), parent);
  RECT bounds;
  GetWindowRect(form, &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 775);
  EXPECT_TRUE(GetWindowLongA(form, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(values(), 0x010u);
  set[2](0x00010001);
  EXPECT_EQ(get[2](), 1u);
  set[2](0x00000002);
  EXPECT_EQ(get[2](), 0u);
  set[0](0xFFFF0001);
  set[1](0x00010000);
  EXPECT_EQ(values(), 0x100u);
}

TEST_F(TraySetupExportsTest, TheLastFormIsCurrentUntilItsParentDestroysIt) {
  HWND first = reinterpret_cast<HWND>(createForm(reinterpret_cast<FormWord>(parent)));
  set[2](1);
  HWND otherParent = CreateWindowExA(0, "Static", "other", WS_OVERLAPPEDWINDOW, 0, 0, 800, 440,
                                     nullptr, nullptr, nullptr, nullptr);
  HWND second = reinterpret_cast<HWND>(createForm(reinterpret_cast<FormWord>(otherParent)));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(get[2](), 0u);  // the new form's own value
  DestroyWindow(otherParent);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_EQ(values(), 0x000u);  // forgotten, not the earlier form
  set[0](1);
  EXPECT_TRUE(IsWindow(first));
}

TEST_F(TraySetupExportsTest, AClickTogglesABoxAndUnloadingTakesTheFormsAlong) {
  HWND form = reinterpret_cast<HWND>(createForm(reinterpret_cast<FormWord>(parent)));
  ASSERT_NE(form, nullptr);
  ShowWindow(parent, SW_SHOW);
  HWND box = childAt(form, 2);  // CheckBox3
  ASSERT_NE(box, nullptr);
  vorntest::clickAt(box, 5, 8);
  EXPECT_EQ(get[2](), 1u);
  EXPECT_TRUE(vorntest::saveWindowPng(parent, "vtraysetup-form.png"));
  FreeLibrary(library);
  library = nullptr;
  EXPECT_FALSE(IsWindow(form));
  EXPECT_TRUE(IsWindow(parent));
}

}  // namespace
