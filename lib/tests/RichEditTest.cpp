#include "lib/PictureDataObject.h"
#include "lib/RichEdit.h"
#include "lib/tests/ToolkitFixture.h"

namespace {

const COLORREF red = RGB(200, 0, 0);
const COLORREF blue = RGB(0, 0, 160);
const COLORREF yellow = RGB(255, 255, 0);

class RichEditTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (lacksClass("RichEdit20A")) GTEST_SKIP() << "no RichEdit20A control in this build";
    pane = new RichEdit("output", 0);
    pane->createIn(panel);
    pane->move(0, 0, 600, 120);
    vorntest::recordShellExecute(true);
    vorntest::clearShellExecuteCalls();
  }
  void TearDown() override {
    vorntest::recordShellExecute(false);
    delete pane;
    ControlTest::TearDown();
  }

  HWND hwnd() { return pane->getHwnd(); }
  void appendLines(int count) {
    for (int i = 0; i < count; ++i) pane->appendText(("line " + std::to_string(i) + "\n").c_str());
  }
  // Each run as "text colour[/background]" in hex, plus its face, size and styles when asked.
  std::vector<std::string> looks(bool withFont = false) {
    std::vector<std::string> out;
    char text[96];
    for (const auto& run : vorntest::richEditRuns(hwnd())) {
      snprintf(text, sizeof text, run.hasBackground ? " %06x/%06x" : " %06x", run.colour,
               run.background);
      out.push_back(run.picture ? "picture" : run.text + text);
      snprintf(text, sizeof text, " %s %d %s%s%s", run.face.c_str(), run.pointSize,
               run.bold ? "B" : "", run.italic ? "I" : "", run.underline ? "U" : "");
      if (withFont) out.back() += text;
    }
    return out;
  }
  bool atEnd() { return vorntest::richEditAtEnd(hwnd()); }

  RichEdit* pane = nullptr;
};

// A font's references, read without changing them.
int referencesOf(Font* font) {
  font->addRef();
  return font->release();
}

TEST_F(RichEditTest, FlagsChooseTheScrollBarsAndThePaneStartsReadOnly) {
  const std::pair<int, LONG> cases[] = {
      {0, 0x50810044 | WS_VSCROLL},
      {RichEdit::NoVerticalScroll, 0x50810044},
      {RichEdit::HorizontalScroll, 0x50810044 | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL}};
  for (auto [flags, style] : cases) {
    RichEdit edit("other", flags);
    edit.createIn(panel);
    EXPECT_EQ(style, GetWindowLongA(edit.getHwnd(), GWL_STYLE) & 0xFFFFFFFF) << flags;
    EXPECT_TRUE(SendMessageA(edit.getHwnd(), EM_GETOPTIONS, 0, 0) & ECO_READONLY);
  }
}

TEST_F(RichEditTest, AppendedTextTakesTheColourAndFontOfItsTime) {
  Font* font = new Font("DejaVu Serif", 10);
  font->setStyle(Font::Bold | Font::Underline);
  pane->appendText("plain ");
  pane->setTextColour(red);
  pane->setFont(font);
  pane->appendText("loud");
  font->setStyle(Font::Italic);
  pane->setTextColour(blue);
  pane->appendText(" soft");
  pane->appendText(nullptr);  // nothing to add, nothing breaks
  auto seen = looks(true);
  ASSERT_EQ(3u, seen.size());
  EXPECT_EQ("plain  000000", seen[0].substr(0, 13));
  EXPECT_EQ("loud 0000c8 DejaVu Serif 10 BU", seen[1]);
  EXPECT_EQ(" soft a00000 DejaVu Serif 10 I", seen[2]);
  pane->setFont(nullptr);
  font->releaseOwner();
}

TEST_F(RichEditTest, RangesAreRecolouredAndTheCaretGoesToTheirStart) {
  pane->setTextColour(red);
  pane->appendText("abcdefghijklmno pq");
  pane->setRangeColour(0, 3, blue);
  pane->setRangeBackground(3, 3, yellow);
  pane->setRangeColours(6, 3, blue, yellow);
  pane->setRangeBackground(9, 3, blue);
  pane->clearRangeBackground(9, 3);
  // Inverting takes the complement of the control's default colour (black), and of the pane's
  // background where the default has none, whatever the range itself looked like.
  pane->invertRange(12, 3);
  pane->setRangeBackground(16, 2, yellow);
  pane->invertRange(16, 2);
  EXPECT_EQ(MAKELRESULT(16, 16), SendMessageA(hwnd(), EM_GETSEL, 0, 0));  // the last range's start
  EXPECT_EQ(
      (std::vector<std::string>{"abc a00000", "def 0000c8/00ffff", "ghi a00000/00ffff",
                                "jkl 0000c8", "mno ffffff/000000", "  0000c8", "pq ffffff/000000"}),
      looks());
}

TEST_F(RichEditTest, AppendingWhileScrolledBackLeavesTheView) {
  appendLines(60);
  EXPECT_TRUE(pane->updateAutoScroll());  // at the end
  ASSERT_TRUE(vorntest::scrollRichEditToTop(hwnd()));
  EXPECT_FALSE(pane->updateAutoScroll());
  appendLines(5);
  EXPECT_EQ(0, pane->getFirstVisibleLine());
  pane->scrollToEnd();  // back at the end, new text is followed again
  appendLines(5);
  EXPECT_TRUE(atEnd());

  pane->scrollToTop();
  pane->updateAutoScroll();
  pane->move(0, 0, 600, 140);  // a resize shows the end
  EXPECT_TRUE(atEnd());
  pane->scrollToTop();
  pane->updateAutoScroll();
  pane->clear();  // turns auto-scroll back on
  appendLines(60);
  EXPECT_TRUE(atEnd());
}

TEST_F(RichEditTest, TheUsersWheelAndScrollBarDecideWhetherNewTextIsFollowed) {
  appendLines(60);
  ASSERT_TRUE(atEnd());
  ASSERT_TRUE(vorntest::wheelAt(hwnd(), 50, 40, WHEEL_DELTA));
  int first = pane->getFirstVisibleLine();
  appendLines(5);
  EXPECT_EQ(first, pane->getFirstVisibleLine());
  EXPECT_FALSE(atEnd());

  POINT thumb{};
  ASSERT_TRUE(vorntest::richEditThumbCentre(hwnd(), &thumb));
  vorntest::dragFrom(hwnd(), thumb.x, thumb.y, thumb.x, 400);  // past the bar's end
  appendLines(5);
  EXPECT_TRUE(atEnd());

  ASSERT_TRUE(vorntest::richEditThumbCentre(hwnd(), &thumb));
  vorntest::dragFrom(hwnd(), thumb.x, thumb.y, thumb.x, 0);
  first = pane->getFirstVisibleLine();
  appendLines(5);
  EXPECT_EQ(first, pane->getFirstVisibleLine());
  vorntest::wheelAt(hwnd(), 50, 40, -40 * WHEEL_DELTA);  // the wheel back to the end
  appendLines(5);
  EXPECT_TRUE(atEnd());
}

TEST_F(RichEditTest, GetLineNeverWritesPastItsBuffer) {
  pane->appendText("hello world\nsecond");
  struct Case {
    int line, size;
    const char* text;
  } cases[] = {{0, 0, ""},  {0, 1, ""},       {0, 2, "h"},       {0, 6, "hello"},
               {5, 64, ""}, {1, 7, "second"}, {1, 64, "second"}, {0, 13, "hello world\r"}};
  for (const Case& c : cases) {
    // A canary byte right behind the buffer catches a write past its end.
    std::vector<char> storage(static_cast<size_t>(c.size) + 1, '#');
    EXPECT_EQ(static_cast<int>(strlen(c.text)), pane->getLine(c.line, storage.data(), c.size))
        << c.line << "/" << c.size;
    if (c.size >= 2) {
      EXPECT_STREQ(c.text, storage.data()) << c.size;
    }
    EXPECT_EQ('#', storage[static_cast<size_t>(c.size)]) << c.size;
  }
  EXPECT_EQ(0, pane->getLine(0, nullptr, 10));
}

TEST_F(RichEditTest, OnlyALeftClickOnAnAllowedLinkOpensIt) {
  pane->setAutoUrlDetect(true);
  pane->appendText("see http://example.org/a and www.example.com now");
  ASSERT_TRUE(vorntest::clickRichEditAt(hwnd(), 7, vorntest::RightButton));
  for (int at : {7, 31, 1}) ASSERT_TRUE(vorntest::clickRichEditAt(hwnd(), at));
  auto calls = vorntest::shellExecuteCalls();
  ASSERT_EQ(2u, calls.size());
  EXPECT_EQ("open http://example.org/a", calls[0].operation + " " + calls[0].target);
  EXPECT_EQ("www.example.com", calls[1].target);

  // However a link got marked, the pane itself opens only web, mail and news links.
  pane->clear();
  pane->appendText("file:///etc/passwd javascript:alert(1) news:comp.lang");
  const std::pair<CHARRANGE, size_t> ranges[] = {
      {{0, 18}, 0}, {{19, 38}, 0}, {{39, 53}, 1}, {{5, 5}, 0}, {{9, 3}, 0}};
  for (auto [range, opened] : ranges) {
    ENLINK link = {};
    link.nmhdr = {hwnd(), 0, EN_LINK};
    link.msg = WM_LBUTTONDOWN;
    link.chrg = range;
    vorntest::clearShellExecuteCalls();
    SendMessageA(panel->getHwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&link));
    EXPECT_EQ(opened, vorntest::shellExecuteCalls().size()) << range.cpMin;
  }
  for (const char* text : {"HTTPS://a.b", "ftp://a", "mailto:x@y", "Www.a.b"})
    EXPECT_TRUE(isOpenableLink(text)) << text;
  for (const char* text : {"www.", "file://c/x", "http:/a", "c:\\x.exe", (const char*)nullptr})
    EXPECT_FALSE(isOpenableLink(text)) << (text ? text : "null");
}

TEST_F(RichEditTest, APictureGoesInAsOnePosition) {
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 12, 10);
  pane->appendText("ab");
  EXPECT_TRUE(pane->appendPicture(bitmap));
  pane->appendText("cd");
  EXPECT_EQ(5, pane->getTextLength());
  EXPECT_EQ((std::vector<std::string>{"ab 000000", "picture", "cd 000000"}), looks());
  // Not a rich edit: nothing goes in, and the answer says so.
  EXPECT_FALSE(insertPicture(panel->getHwnd(), bitmap));
  EXPECT_FALSE(insertPicture(nullptr, bitmap));
  EXPECT_TRUE(DeleteObject(bitmap));  // the bitmap stayed the caller's
}

TEST(PictureDataObjectTest, HandsOutCopiesOfItsBitmapOnly) {
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 4, 4);
  PictureDataObject* picture = new PictureDataObject();
  IDataObject* data = nullptr;
  ASSERT_EQ(S_OK, picture->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)));
  STGMEDIUM medium = {};
  EXPECT_EQ(E_HANDLE, data->GetData(nullptr, &medium));  // no bitmap yet
  picture->setBitmap(bitmap);
  ASSERT_EQ(S_OK, data->GetData(nullptr, &medium));
  EXPECT_NE(bitmap, medium.hBitmap);
  ReleaseStgMedium(&medium);
  EXPECT_EQ(0u, data->Release());  // deleted here (the sanitizer build sees a double free)
  DeleteObject(bitmap);
}

TEST_F(RichEditTest, ThePaneHoldsOneReferenceOnItsFontUntilItGoes) {
  Font* font = new Font("Serif", 12);
  Font* other = new Font("Sans", 9);
  pane->setFont(font);
  font->releaseOwner();
  pane->setFont(font);  // set again after its owner let go: the pane's reference keeps it alive
  EXPECT_EQ(1, referencesOf(font));
  EXPECT_STREQ("Serif", pane->getFont()->getFace());
  pane->setFont(other);  // the last reference on "Serif" goes: deleted
  EXPECT_EQ(1, referencesOf(other));
  delete pane;
  pane = nullptr;
  EXPECT_EQ(0, referencesOf(other));  // released by the pane's destructor
  EXPECT_EQ(0, other->release());     // releasing past zero leaves the count at zero
  EXPECT_EQ(0, referencesOf(other));
  other->releaseOwner();
}

}  // namespace
