// A window's first child and next sibling, and how dead windows drop out of the walk.
#include <gtest/gtest.h>

#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

TEST(WindowRelatives, ChildrenWalkInCreationOrderSkippingDeadOnes) {
  reset();
  HWND top = makeTop();
  HWND first = makeChild(top, 1), second = makeChild(top, 2), third = makeChild(top, 3);
  EXPECT_EQ(first, GetWindow(top, GW_CHILD));
  EXPECT_EQ(second, GetWindow(first, GW_HWNDNEXT));
  EXPECT_EQ(nullptr, GetWindow(third, GW_HWNDNEXT));
  DestroyWindow(second);
  EXPECT_EQ(third, GetWindow(first, GW_HWNDNEXT));
  EXPECT_EQ(nullptr, GetWindow(first, GW_CHILD));
  EXPECT_EQ(nullptr, GetWindow(top, GW_HWNDNEXT)) << "a top-level window has no siblings here";
  DestroyWindow(top);
  EXPECT_EQ(nullptr, GetWindow(top, GW_CHILD));
  reset();
}
