#include <cstring>
#include <string>
#include <vector>

#include "lib/PictureDataObject.h"
#include "lib/RichEdit.h"
#include "lib/tests/ControlHarness.h"

using namespace controltest;

namespace {

const COLORREF red = RGB(200, 0, 0);
const COLORREF blue = RGB(0, 0, 160);
const COLORREF yellow = RGB(255, 255, 0);

class RichEditTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (!systemClassExists("RichEdit20A")) GTEST_SKIP() << "no RichEdit20A control in this build";
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
  std::vector<vorntest::RichTextRun> runs() { return vorntest::richEditRuns(hwnd()); }
  void appendLines(int count) {
    for (int i = 0; i < count; ++i) pane->appendText(("line " + std::to_string(i) + "\n").c_str());
  }
  // Each run as "text colour[/background]" in hex.
  std::vector<std::string> looks() {
    std::vector<std::string> out;
    char colours[32];
    for (const auto& run : runs()) {
      snprintf(colours, sizeof colours, run.hasBackground ? " %06x/%06x" : " %06x", run.colour,
               run.background);
      out.push_back(run.text + colours);
    }
    return out;
  }
  CHARRANGE selection() {
    CHARRANGE range = {-2, -2};
    SendMessageA(hwnd(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
  }

  RichEdit* pane = nullptr;
};

// A font whose references the test can read without changing them.
int referencesOf(Font* font) {
  font->addRef();
  return font->release();
}

TEST_F(RichEditTest, FlagsChooseTheScrollBarsAndThePaneStartsReadOnly) {
  struct Case {
    int flags;
    LONG style;
  } cases[] = {
      {0, 0x50810044 | WS_VSCROLL},
      {RichEdit::NoVerticalScroll, 0x50810044},
      {RichEdit::HorizontalScroll, 0x50810044 | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL},
      {3, 0x50810044 | WS_HSCROLL | ES_AUTOHSCROLL},
  };
  for (const Case& c : cases) {
    RichEdit edit("other", c.flags);
    edit.createIn(panel);
    EXPECT_EQ(c.style, GetWindowLongA(edit.getHwnd(), GWL_STYLE) & 0xFFFFFFFF) << c.flags;
    EXPECT_TRUE(edit.isReadOnly());
    EXPECT_TRUE(SendMessageA(edit.getHwnd(), EM_GETOPTIONS, 0, 0) & ECO_READONLY);
  }
  EXPECT_STREQ("richedit", pane->typeName());
  EXPECT_TRUE(pane->isRich());
  EXPECT_EQ(0u, pane->getTextColour());
  EXPECT_EQ(0xFFFFFFu, pane->getBackgroundColour());
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

  auto seen = runs();
  ASSERT_EQ(3u, seen.size());
  EXPECT_EQ("plain ", seen[0].text);
  EXPECT_EQ(0u, seen[0].colour);
  EXPECT_EQ("loud", seen[1].text);
  EXPECT_EQ(red, seen[1].colour);
  EXPECT_EQ("DejaVu Serif", seen[1].face);
  EXPECT_EQ(10, seen[1].pointSize);
  EXPECT_TRUE(seen[1].bold && seen[1].underline && !seen[1].italic);
  EXPECT_EQ(" soft", seen[2].text);
  EXPECT_EQ(blue, seen[2].colour);
  EXPECT_TRUE(seen[2].italic && !seen[2].bold && !seen[2].underline);

  // The size goes to the control in twips.
  SendMessageA(hwnd(), EM_SETSEL, 7, 8);
  CHARFORMAT2A format = {};
  format.cbSize = sizeof(format);
  SendMessageA(hwnd(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(200, format.yHeight);
  EXPECT_EQ(15, pane->getTextLength());
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
  EXPECT_EQ(16, selection().cpMin);  // the caret is left at the last range's start
  EXPECT_EQ(16, selection().cpMax);
  EXPECT_EQ(
      (std::vector<std::string>{"abc a00000", "def 0000c8/00ffff", "ghi a00000/00ffff",
                                "jkl 0000c8", "mno ffffff/000000", "  0000c8", "pq ffffff/000000"}),
      looks());
}

TEST_F(RichEditTest, AppendingWhileScrolledBackLeavesTheView) {
  appendLines(60);
  EXPECT_TRUE(vorntest::richEditAtEnd(hwnd()));
  EXPECT_TRUE(pane->updateAutoScroll());
  EXPECT_GT(pane->getFirstVisibleLine(), 0);

  ASSERT_TRUE(vorntest::scrollRichEditToTop(hwnd()));
  EXPECT_FALSE(pane->updateAutoScroll());
  appendLines(5);
  EXPECT_EQ(0, pane->getFirstVisibleLine());
  EXPECT_FALSE(vorntest::richEditAtEnd(hwnd()));

  pane->scrollToLine(10);
  EXPECT_EQ(10, pane->getFirstVisibleLine());
  pane->pageDown();
  EXPECT_GT(pane->getFirstVisibleLine(), 11);
  pane->pageUp();
  EXPECT_EQ(10, pane->getFirstVisibleLine());
  pane->scrollToEnd();  // back at the end, new text is followed again
  appendLines(5);
  EXPECT_TRUE(vorntest::richEditAtEnd(hwnd()));

  pane->scrollToTop();
  EXPECT_EQ(0, pane->getFirstVisibleLine());
  pane->updateAutoScroll();
  pane->move(0, 0, 600, 140);  // a resize shows the end
  EXPECT_TRUE(vorntest::richEditAtEnd(hwnd()));

  pane->scrollToTop();
  pane->updateAutoScroll();
  pane->clear();  // turns auto-scroll back on
  EXPECT_EQ(0, pane->getTextLength());
  appendLines(60);
  EXPECT_TRUE(vorntest::richEditAtEnd(hwnd()));
}

TEST_F(RichEditTest, GetLineNeverWritesPastItsBuffer) {
  pane->appendText("hello world\nsecond");
  struct Case {
    int line, size;
    const char* text;
    int length;
  } cases[] = {
      {0, 0, "", 0},       {0, 1, "", 0},        {0, 2, "h", 1}, {0, 6, "hello", 5},
      {1, 7, "second", 6}, {1, 64, "second", 6}, {5, 64, "", 0},
  };
  for (const Case& c : cases) {
    // A canary byte right behind the buffer catches a write past its end.
    std::vector<char> storage(static_cast<size_t>(c.size) + 1, '#');
    int length = pane->getLine(c.line, storage.data(), c.size);
    EXPECT_EQ(c.length, length) << c.line << "/" << c.size;
    if (c.size >= 2) {
      EXPECT_STREQ(c.text, storage.data()) << c.size;
    }
    EXPECT_EQ('#', storage[static_cast<size_t>(c.size)]) << c.size;
  }
  char whole[64];
  EXPECT_EQ(12, pane->getLine(0, whole, sizeof whole));  // the paragraph mark reads as "\r"
  EXPECT_STREQ("hello world\r", whole);
  EXPECT_EQ(0, pane->getLine(0, nullptr, 10));
}

TEST_F(RichEditTest, ALeftClickOpensAnAllowedLinkOnly) {
  pane->setAutoUrlDetect(true);
  pane->appendText("see http://example.org/a and www.example.com now");
  const int http = 4;
  const int www = 29;
  ASSERT_TRUE(vorntest::clickRichEditAt(hwnd(), http + 3, vorntest::RightButton));
  EXPECT_TRUE(vorntest::shellExecuteCalls().empty());
  ASSERT_TRUE(vorntest::clickRichEditAt(hwnd(), http + 3));
  ASSERT_TRUE(vorntest::clickRichEditAt(hwnd(), www + 2));
  ASSERT_TRUE(vorntest::clickRichEditAt(hwnd(), 1));  // plain text
  auto calls = vorntest::shellExecuteCalls();
  ASSERT_EQ(2u, calls.size());
  EXPECT_EQ("open", calls[0].operation);
  EXPECT_EQ("http://example.org/a", calls[0].target);
  EXPECT_EQ("www.example.com", calls[1].target);
}

TEST_F(RichEditTest, LinksOfOtherSchemesAreNeverHandedOn) {
  // However a link got marked, the pane itself opens only web, mail and news links.
  pane->setAutoUrlDetect(true);
  pane->appendText("file:///etc/passwd javascript:alert(1) news:comp.lang");
  struct Case {
    LONG from, to;
    bool opens;
  } cases[] = {{0, 18, false}, {19, 38, false}, {39, 53, true}, {5, 5, false}, {9, 3, false}};
  for (const Case& c : cases) {
    ENLINK link = {};
    link.nmhdr.hwndFrom = hwnd();
    link.nmhdr.code = EN_LINK;
    link.msg = WM_LBUTTONDOWN;
    link.chrg = {c.from, c.to};
    vorntest::clearShellExecuteCalls();
    SendMessageA(panel->getHwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&link));
    EXPECT_EQ(c.opens ? 1u : 0u, vorntest::shellExecuteCalls().size()) << c.from;
  }

  struct Text {
    const char* text;
    bool openable;
  } texts[] = {
      {"HTTPS://a.b", true}, {"ftp://a", true},    {"mailto:x@y", true},
      {"Www.a.b", true},     {"www.", false},      {"file://c/x", false},
      {"http:/a", false},    {"c:\\x.exe", false}, {nullptr, false},
  };
  for (const Text& t : texts) EXPECT_EQ(t.openable, isOpenableLink(t.text)) << t.text;
}

TEST_F(RichEditTest, APictureGoesInAsOnePosition) {
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 12, 10);
  pane->appendText("ab");
  EXPECT_TRUE(pane->appendPicture(bitmap));
  pane->appendText("cd");
  EXPECT_EQ(5, pane->getTextLength());
  auto seen = runs();
  ASSERT_EQ(3u, seen.size());
  EXPECT_TRUE(seen[1].picture);
  EXPECT_EQ("cd", seen[2].text);

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
  void* other = nullptr;
  EXPECT_EQ(E_NOINTERFACE, picture->QueryInterface(IID_IOleObject, &other));
  EXPECT_EQ(nullptr, other);

  STGMEDIUM medium = {};
  EXPECT_EQ(E_HANDLE, data->GetData(nullptr, &medium));  // no bitmap yet
  picture->setBitmap(bitmap);
  ASSERT_EQ(S_OK, data->GetData(nullptr, &medium));
  EXPECT_EQ(static_cast<DWORD>(TYMED_GDI), medium.tymed);
  EXPECT_NE(bitmap, medium.hBitmap);
  ReleaseStgMedium(&medium);

  EXPECT_EQ(2u, data->AddRef());
  EXPECT_EQ(1u, data->Release());
  EXPECT_EQ(0u, data->Release());  // deleted here (the sanitizer build sees a double free)
  DeleteObject(bitmap);
}

TEST_F(RichEditTest, ThePaneHoldsOneReferenceOnItsFontUntilItGoes) {
  Font* font = new Font("Serif", 12);
  Font* other = new Font("Sans", 9);
  pane->setFont(font);
  pane->setFont(font);
  EXPECT_EQ(1, referencesOf(font));
  pane->setFont(other);
  EXPECT_EQ(0, referencesOf(font));
  EXPECT_EQ(1, referencesOf(other));

  // Releasing past zero leaves the count at zero.
  EXPECT_EQ(0, font->release());
  EXPECT_EQ(0, referencesOf(font));
  font->releaseOwner();

  // The owner lets go first; the pane's reference keeps the font alive, even when set again.
  other->releaseOwner();
  pane->setFont(other);
  EXPECT_STREQ("Sans", pane->getFont()->getFace());
  Font* watched = new Font("Mono", 8);
  pane->setFont(watched);  // the last reference on "Sans" goes: deleted
  delete pane;
  pane = nullptr;
  EXPECT_EQ(0, referencesOf(watched));
  watched->releaseOwner();
}

}  // namespace
