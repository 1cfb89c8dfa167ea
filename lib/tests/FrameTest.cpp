#include "lib/Frame.h"

#include "lib/tests/LayoutHarness.h"

using namespace layouttest;

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
  int t = metrics.tmHeight;
  ASSERT_GT(t, 0);

  frame->move(10, 10, 200, 100);
  Leaf* client = leaf("client");
  frame->setClient(client);
  EXPECT_EQ((Box{4, t, 192, 96 - t}), placed(client));
  for (Box size : {Box{0, 0, 300, 150}, Box{0, 0, 60, 40}}) {
    frame->move(size.x, size.y, size.w, size.h);
    EXPECT_EQ((Box{0, 0, size.w, size.h}), layerPlacement(box));
    EXPECT_EQ((Box{4, t, size.w - 8, size.h - t - 4}), placed(client));
    EXPECT_EQ(placed(client), layerPlacement(client->getHwnd()));
  }

  HWND old = client->getHwnd();
  Leaf* next = leaf("next");
  frame->setClient(next);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(nullptr, frame->childAt(1));
  EXPECT_EQ((Box{4, t, 52, 36 - t}), placed(next));
}

}  // namespace
