#include "lib/Button.h"
#include "lib/Label.h"
#include "lib/tests/ToolkitFixture.h"

namespace {

using ControlsTest = ControlTest;

class CountingButton : public PushButton {
 public:
  using PushButton::PushButton;
  void onClick() override { ++clicks; }
  int clicks = 0;
};

// A check box that shows a setting instead of its own state.
class SettingBox : public CheckBoxButton {
 public:
  using CheckBoxButton::CheckBoxButton;
  bool isChecked() override { return setting; }
  bool setting = false;
};

TEST_F(ControlsTest, ControlsAreMadeUnplacedWithTheirClassAndStyle) {
  PushButton push("Go");
  CheckBoxButton box("Sound");
  Label plain("Name", false), centred("Title", true);
  struct Case {
    Window* window;
    const char* typeName;
    DWORD styleBits, absentBits;
  } cases[] = {
      {&push, "pushbutton", BS_PUSHBUTTON, 0xF},
      {&box, "checkboxbutton", BS_AUTOCHECKBOX, 0},
      {&plain, "label", SS_NOTIFY, 0x200},
      {&centred, "label", SS_NOTIFY | 0x200, 0},
  };
  for (const Case& c : cases) {
    c.window->createIn(panel);
    HWND hwnd = c.window->getHwnd();
    EXPECT_STREQ(c.typeName, c.window->typeName());
    EXPECT_EQ((Box{10, 10, 0, 0}), layerPlacement(hwnd)) << c.typeName;
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    EXPECT_EQ(c.styleBits | WS_CHILD | WS_VISIBLE,
              style & (c.styleBits | c.absentBits | WS_CHILD | WS_VISIBLE))
        << c.typeName;
    EXPECT_EQ(c.window->getName(), textOf(hwnd));
  }
}

TEST_F(ControlsTest, ClickRunsOnClickAndStillReachesTheParent) {
  CountingButton button("Go");
  button.createIn(panel);
  button.move(20, 20, 80, 24);
  ASSERT_TRUE(vorntest::clickAt(button.getHwnd(), 40, 12));
  EXPECT_EQ(1, button.clicks);
  ASSERT_EQ(1u, notifications().size());
  const Notification& sent = notifications()[0];
  EXPECT_TRUE(sent.message == WM_COMMAND && sent.code == BN_CLICKED &&
              sent.from == button.getHwnd());

  char text[8] = {};
  button.setText("Renamed text");
  EXPECT_EQ(7, button.getText(text, sizeof text));  // cut to the buffer
  button.setText(nullptr);
  EXPECT_EQ("Go", textOf(button.getHwnd()));
}

TEST_F(ControlsTest, CheckBoxStateFollowsCallsClicksAndOverriddenState) {
  CheckBoxButton box("Sound");
  box.createIn(panel);
  box.move(20, 20, 120, 24);
  box.setChecked(true);
  EXPECT_TRUE(box.isChecked());
  EXPECT_TRUE(notifications().empty());  // setting the state tells nobody
  ASSERT_TRUE(vorntest::clickAt(box.getHwnd(), 10, 12));
  EXPECT_FALSE(box.isChecked());

  SettingBox setting("Log");
  setting.createIn(panel);
  for (bool on : {true, false}) {
    setting.setting = on;
    setting.refreshCheck();
    EXPECT_EQ(on ? BST_CHECKED : BST_UNCHECKED, SendMessageA(setting.getHwnd(), BM_GETCHECK, 0, 0));
  }
}

}  // namespace
