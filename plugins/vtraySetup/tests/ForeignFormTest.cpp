// The manager's skinning of forms without a component of their own: taken on when a component
// becomes active, forms made later skinned at the next message, exempt forms left alone, and
// handed over or given back when the skinning component declines.
#include "plugins/vtraySetup/skin/FlatSkinManager.h"
#include "plugins/vtraySetup/tests/FormFixture.h"

namespace {

using skin::FlatSkinManager;

class ForeignFormTest : public FormFixture {
 protected:
  frt::CheckBox* addForm(int tag = 0) {
    auto* other = new frt::Form();
    other->tag = tag;
    other->setBounds(0, 0, 100, 40);
    auto* check = new frt::CheckBox(other, other);
    check->setBounds(5, 5, 80, 17);
    EXPECT_TRUE(other->createHandle(parent));  // freed with the parent's window
    return check;
  }
  void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
};

TEST_F(ForeignFormTest, ActiveSkinTakesOnFormsWithoutSkinsNowAndLater) {
  frt::CheckBox* before = addForm();
  frt::CheckBox* exempt = addForm(999);
  pump();
  EXPECT_EQ(skin->hookOf(before), nullptr);
  skin->setActive(true);
  EXPECT_NE(skin->hookOf(before), nullptr);
  EXPECT_EQ(skin->hookOf(exempt), nullptr);
  frt::CheckBox* later = addForm();
  EXPECT_EQ(skin->hookOf(later), nullptr);  // its controls come after the notice
  pump();
  EXPECT_NE(skin->hookOf(later), nullptr);
  skin->setActive(false);
  EXPECT_EQ(skin->hookOf(before), nullptr);
  EXPECT_TRUE(FlatSkinManager::instance().skinnedForms().empty());
}

TEST_F(ForeignFormTest, DecliningHandsForeignFormsToAnotherActiveSkin) {
  frt::CheckBox* foreign = addForm();
  auto* second = new frt::Form();
  second->setBounds(0, 0, 50, 50);
  auto* secondSkin = new skin::FlatSkin(second);
  ASSERT_TRUE(second->createHandle(parent));
  pump();
  skin->setActive(true);
  secondSkin->setActive(true);
  EXPECT_NE(skin->hookOf(foreign), nullptr);
  EXPECT_EQ(FlatSkinManager::instance().foreignSkinner(), skin);
  skin->setDisableSubclassing(true);
  EXPECT_EQ(skin->hookOf(foreign), nullptr);
  EXPECT_NE(secondSkin->hookOf(foreign), nullptr);
  // The form with a skin of its own is never one of the foreign ones.
  const auto& skinned = FlatSkinManager::instance().skinnedForms();
  EXPECT_EQ(std::count(skinned.begin(), skinned.end(), second), 0);
  EXPECT_EQ(std::count(skinned.begin(), skinned.end(), form), 0);
  secondSkin->setActive(false);
  EXPECT_EQ(secondSkin->hookOf(foreign), nullptr);
}

}  // namespace
