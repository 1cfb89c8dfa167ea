#include "lib/Frame.h"

#include "lib/tests/ToolkitFixture.h"

namespace {

class FrameTest : public LayoutTest {};

TEST_F(FrameTest, ClientSitsInsideTheBorderBelowTheCaption) {
  Frame* frame = keep(new Frame("Options"));
  frame->createIn(host);
  HWND box = frame->getGroupBox();
  char caption[16] = {};
  GetWindowTextA(box, caption, sizeof caption);
  EXPECT_STREQ("Options", caption);
  EXPECT_EQ(frame->getHwnd(), GetParent(box));
  // The caption height comes from the group box's own device context.
  HDC dc = GetDC(box);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  ReleaseDC(box, dc);
  const int t = metrics.tmHeight;
  ASSERT_GT(t, 0);

  frame->move(10, 10, 200, 100);
  Leaf* client = leaf("client");
  frame->setClient(client);
  EXPECT_EQ((Box{4, t, 192, 96 - t}), placed(client));
  frame->move(0, 0, 60, 40);
  EXPECT_EQ((Box{0, 0, 60, 40}), layerPlacement(box));
  EXPECT_EQ((Box{4, t, 52, 36 - t}), placed(client));
  EXPECT_EQ(placed(client), layerPlacement(client->getHwnd()));
  HWND old = client->getHwnd();
  frame->setClient(client = leaf("next"));  // replaces the old one, placed like it
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(nullptr, frame->childAt(1));
  EXPECT_EQ((Box{4, t, 52, 36 - t}), placed(client));
}

}  // namespace
