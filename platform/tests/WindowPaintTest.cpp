// Painting requests and the text conversion shown on widgets.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/TextCodec.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

TEST(WindowPaint, UpdateWindowPaintsOnlyWhatIsInvalid) {
  reset();
  HWND top = makeTop(0, 0, 120, 80);
  ASSERT_EQ(messagesOf(top, WM_PAINT).size(), 0u);
  UpdateWindow(top);  // a new window starts invalid
  EXPECT_EQ(messagesOf(top, WM_PAINT).size(), 1u);
  UpdateWindow(top);  // the default procedure validated it
  EXPECT_EQ(messagesOf(top, WM_PAINT).size(), 1u);
  RECT part{10, 10, 20, 20};
  InvalidateRect(top, &part, TRUE);
  RECT region{};
  BOOL erase = FALSE;
  ASSERT_TRUE(vornplatform::takeUpdateRegion(top, &region, &erase));
  EXPECT_EQ(region.left, 10);
  EXPECT_EQ(region.bottom, 20);
  EXPECT_TRUE(erase);
  UpdateWindow(top);
  EXPECT_EQ(messagesOf(top, WM_PAINT).size(), 1u);  // taken: nothing left to paint
  QImage* image = vornplatform::backingImageOf(top);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->size(), QSize(120, 80));
  MoveWindow(top, 0, 0, 60, 40, TRUE);
  EXPECT_EQ(vornplatform::backingImageOf(top)->size(), QSize(60, 40));
  UpdateWindow(top);
  EXPECT_EQ(messagesOf(top, WM_PAINT).size(), 2u);  // a new size repaints
  DestroyWindow(top);
  EXPECT_EQ(vornplatform::backingImageOf(top), nullptr);
  reset();
}

TEST(TextCodec, Utf8WithWindows1252ForStrayBytes) {
  struct Case {
    const char* bytes;
    const char16_t* shown;
  };
  const Case cases[] = {
      {"plain", u"plain"},
      {"caf\xc3\xa9", u"caf\u00e9"},  // valid UTF-8
      {"caf\xe9", u"caf\u00e9"},      // a Latin byte on its own
      {"\x93quoted\x94", u"\u201cquoted\u201d"},
      {"\x80\x81", u"\u20ac\u0081"},
      {"\xc3", u"\u00c3"},                      // a cut sequence
      {"\xed\xa0\x80", u"\u00ed\u00a0\u20ac"},  // an encoded surrogate is not valid
      {"\xf0\x9f\x98\x80!", u"\U0001F600!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(vornplatform::bytesToQString(c.bytes), QString::fromUtf16(c.shown));
  }
  EXPECT_EQ(vornplatform::qStringToBytes(QString::fromUtf16(u"\u00e9")), "\xc3\xa9");
}

}  // namespace
