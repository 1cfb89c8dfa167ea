#include "lib/Frame.h"

#include "lib/tests/LayoutHarness.h"

using namespace layouttest;

namespace {

class FrameTest : public LayoutTest {
 protected:
  // The caption height the frame must use: text metrics of the group box's own DC.
  int captionHeight(Frame* frame) {
    HDC dc = GetDC(frame->getGroupBox());
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(frame->getGroupBox(), dc);
    return metrics.tmHeight;
  }
};

TEST_F(FrameTest, GroupBoxCarriesTheNameAsCaption) {
  Frame* frame = keep(new Frame("Options"));
  frame->createIn(host);
  HWND box = frame->getGroupBox();
  ASSERT_TRUE(IsWindow(box));
  EXPECT_EQ(frame->getHwnd(), GetParent(box));
  char caption[32] = {};
  GetWindowTextA(box, caption, sizeof caption);
  EXPECT_STREQ("Options", caption);
  EXPECT_EQ(BS_GROUPBOX, GetWindowLongA(box, GWL_STYLE) & 0xF);
  EXPECT_STREQ("frame", frame->typeName());
}

TEST_F(FrameTest, ClientSitsInsideTheBorderBelowTheCaption) {
  Frame* frame = keep(new Frame("Options"));
  frame->createIn(host);
  frame->move(10, 10, 200, 100);
  int t = captionHeight(frame);
  ASSERT_GT(t, 0);

  Leaf* client = leaf("client");
  frame->setClient(client);
  EXPECT_EQ((Box{4, t, 192, 96 - t}), placed(client));
  EXPECT_EQ((Box{4, t, 192, 96 - t}), layerPlacement(client->getHwnd()));

  const Box sizes[] = {{0, 0, 300, 150}, {0, 0, 60, 40}};
  for (const Box& size : sizes) {
    frame->move(size.x, size.y, size.w, size.h);
    EXPECT_EQ((Box{0, 0, size.w, size.h}), layerPlacement(frame->getGroupBox()));
    EXPECT_EQ((Box{4, t, size.w - 8, size.h - t - 4}), placed(client));
  }

  // A new client replaces the old one, which goes away.
  HWND old = client->getHwnd();
  Leaf* next = leaf("next");
  frame->setClient(next);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(next, frame->childAt(0));
  EXPECT_EQ(nullptr, frame->childAt(1));
  EXPECT_EQ((Box{4, t, 52, 36 - t}), placed(next));
}

}  // namespace
