// The skin's walk over a form and the flags its hooks keep from the messages they see.
#include "plugins/vtraySetup/tests/FormFixture.h"

namespace {

using skin::FlatSkin;

TEST_F(FormFixture, ActivatingHooksTheChosenKindsButNotTag999AndDeactivatingRestores) {
  skin->setActive(true);
  EXPECT_NE(skin->hookOf(box), nullptr);
  EXPECT_NE(skin->hookOf(list), nullptr);
  EXPECT_EQ(skin->hookOf(exempt), nullptr);

  skin::ControlSet controls = skin->skinControls();
  controls.reset(skin::xcCheckBox);
  skin->setSkinControls(controls);
  EXPECT_EQ(skin->hookOf(box), nullptr);
  EXPECT_NE(skin->hookOf(list), nullptr);
  skin::ContainerSet containers;
  skin->setSkinContainers(containers);  // no container chosen: nothing on the form
  EXPECT_TRUE(skin->hooks().empty());

  skin->setSkinContainers(containers.set());
  EXPECT_FALSE(list->ctl3D);  // the flat frame replaces the 3-D look
  skin->setActive(false);
  EXPECT_TRUE(skin->hooks().empty());
  EXPECT_TRUE(list->ctl3D);

  form->tag = FlatSkin::kExemptTag;  // a whole form can be exempt too
  skin->setActive(true);
  EXPECT_TRUE(skin->hooks().empty());
}

TEST_F(FormFixture, HotFocusButtonAndSpaceFlagsFollowTheMessages) {
  skin->setActive(true);
  const skin::ControlState& state = skin->hookOf(box)->state();
  box->perform(WM_SETFOCUS);
  EXPECT_TRUE(state.hot);
  box->checked();  // BM_GETCHECK clears hot
  EXPECT_FALSE(state.hot);
  box->perform(frt::CM_MOUSEENTER);
  EXPECT_TRUE(state.hot);
  box->setEnabled(false);
  box->perform(frt::CM_MOUSEENTER);
  EXPECT_FALSE(state.hot);  // cleared and ignored while disabled
  box->setEnabled(true);
  box->perform(WM_KEYDOWN, VK_SPACE);
  EXPECT_TRUE(state.spaceDown);
  box->perform(WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(state.spaceDown);
  EXPECT_TRUE(box->checked());  // the space key toggled it
  box->perform(WM_LBUTTONDOWN);
  EXPECT_TRUE(state.leftDown);
  box->perform(WM_LBUTTONUP);
  EXPECT_FALSE(state.leftDown);
}

TEST_F(FormFixture, TheParentDestroyingTheFormFreesItAndItsHooks) {
  skin->setActive(true);
  bool freed = false;
  form->freeNotices.push_back([&freed](frt::Component*) { freed = true; });
  DestroyWindow(parent);
  EXPECT_TRUE(freed);
  parent = nullptr;
}

TEST_F(FormFixture, TheSystemVersionIsReadOnceWhenTheSkinIsMade) {
  OSVERSIONINFOEXA answer{};
  answer.dwOSVersionInfoSize = sizeof answer;
  answer.dwPlatformId = VER_PLATFORM_WIN32_NT;
  answer.dwMajorVersion = 5;
  answer.dwMinorVersion = 1;
  vorntest::setVersionAnswer(answer);
  auto* xp = new skin::FlatSkin(form);
  answer.dwMinorVersion = 2;
  vorntest::setVersionAnswer(answer);
  auto* later = new skin::FlatSkin(form);
  vorntest::setVersionFailure(vorntest::FailEveryVersionCall);
  auto* unknown = new skin::FlatSkin(form);
  vorntest::clearVersionHooks();
  EXPECT_TRUE(xp->windowsNT());
  EXPECT_TRUE(xp->version5());
  EXPECT_TRUE(later->windowsNT());
  EXPECT_FALSE(later->version5());
  EXPECT_FALSE(unknown->windowsNT());
  EXPECT_FALSE(unknown->version5());
}

}  // namespace
