// The rich-edit control through its messages: selection forms, text with paragraph marks and
// stray bytes, formats, frames, scrolling that only moves when asked, read-only, links, word
// breaks.
#include <gtest/gtest.h>

#include <QImage>
#include <QTextBlock>
#include <QTextEdit>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class RichEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    top = makeTop(0, 0, 500, 300);
    ShowWindow(top, SW_SHOW);
    edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE,
                           0, 0, 460, 120, top, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    seen().clear();
  }
  void TearDown() override { closeTop(top); }
  void append(const char* text) {
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
  }
  CHARRANGE selection() {
    CHARRANGE r{};
    SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  std::string range(LONG from, LONG to) {
    std::string buffer(4096, '\0');
    TEXTRANGEA tr{{from, to}, &buffer[0]};
    LRESULT n = SendMessageA(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(buffer.c_str()));
    return buffer.substr(0, static_cast<size_t>(n));
  }
  std::string windowText() {
    std::string buffer(4096, '\0');
    int n = GetWindowTextA(edit, &buffer[0], 4096);
    return buffer.substr(0, static_cast<size_t>(n));
  }
  LRESULT textLength() {
    GETTEXTLENGTHEX how{GTL_DEFAULT, 0};
    return SendMessageA(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
  }
  static CHARFORMAT2A colourFormat(COLORREF colour) {
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = colour;
    return cf;
  }
  void setFormat(const CHARFORMAT2A& cf, WPARAM which = SCF_SELECTION) {
    SendMessageA(edit, EM_SETCHARFORMAT, which, reinterpret_cast<LPARAM>(&cf));
  }
  void setColour(COLORREF colour) { setFormat(colourFormat(colour)); }
  CHARFORMAT2A format(WPARAM which = SCF_SELECTION) {
    CHARFORMAT2A got{};
    got.cbSize = sizeof got;
    SendMessageA(edit, EM_GETCHARFORMAT, which, reinterpret_cast<LPARAM>(&got));
    return got;
  }
  HWND top = nullptr;
  HWND edit = nullptr;
};

TEST_F(RichEdit, SetSelFormsFollowTheEditRules) {
  append("hello world");
  struct Case {
    int caretBefore, start, end, wantMin, wantMax;
  } cases[] = {
      {0, 0, -1, 0, 11},                       // everything
      {0, -1, -1, 11, 11},                     // caret at the end
      {0, 3, 5, 3, 5},     {0, 5, 3, 3, 5},    // reversed: anchor after caret
      {0, 20, 20, 11, 11},                     // equal values out of range: the end
      {0, 2, -1, 2, 11},   {0, 2, 50, 2, 11},  // clamped
      {3, -1, 8, 3, 3},                        // deselect, keep the caret
  };
  for (const Case& c : cases) {
    SendMessageA(edit, EM_SETSEL, c.caretBefore, c.caretBefore);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(c.start), c.end);
    CHARRANGE r = selection();
    EXPECT_EQ(r.cpMin, c.wantMin) << c.start << "," << c.end;
    EXPECT_EQ(r.cpMax, c.wantMax) << c.start << "," << c.end;
  }
  CHARRANGE ex{6, 11};
  SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&ex));
  char sel[32] = {};
  EXPECT_EQ(SendMessageA(edit, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(sel)), 5);
  EXPECT_STREQ(sel, "world");
}

TEST_F(RichEdit, ParagraphMarksCountOneButWindowTextUsesCrLf) {
  append("a\r\nb\nc\rd");
  EXPECT_EQ(windowText(), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(GetWindowTextLengthA(edit), 10);
  EXPECT_EQ(textLength(), 7);
  EXPECT_EQ(range(2, 5), "b\rc");
  SetWindowTextA(edit, "x\r\ny");
  EXPECT_EQ(range(0, -1), "x\ry");
  EXPECT_EQ(selection().cpMax, 0);
}

TEST_F(RichEdit, StrayBytesRoundTripAndOffsetsAgreeWithStrlen) {
  const char* text = "caf\xe9 \xc3\xa9t\xe9 \xe2\x82\xac\x80 \xf0\x9f\x98\x80!";
  append(text);
  LONG length = static_cast<LONG>(std::strlen(text));
  EXPECT_EQ(textLength(), length);
  EXPECT_EQ(windowText(), text);
  LONG euro = static_cast<LONG>(std::strlen("caf\xe9 \xc3\xa9t\xe9 "));
  EXPECT_EQ(range(euro, euro + 4),
            "\xe2\x82\xac\x80");  // the same character, once valid, once stray
  EXPECT_EQ(range(length - 5, length), "\xf0\x9f\x98\x80!");
  append("\r\nnext");
  EXPECT_EQ(range(length + 1, length + 5), "next");
  std::string seen;
  for (const vorntest::RichTextRun& run : vorntest::richEditRuns(edit)) seen += run.text;
  EXPECT_EQ(seen, std::string(text) + "\rnext");

  // Sequences that are not valid UTF-8 count and come back byte by byte.
  for (const char* odd : {"\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "ab\xe2\x82"}) {
    SetWindowTextA(edit, odd);
    EXPECT_EQ(textLength(), static_cast<LRESULT>(std::strlen(odd)));
    EXPECT_EQ(range(0, -1), odd);
  }
}

TEST_F(RichEdit, InsertionFormatAppliesToTheNextReplaceAndReadsBack) {
  append("plain ");
  CHARFORMAT2A cf = colourFormat(RGB(200, 0, 0));
  cf.dwMask |= CFM_SIZE | CFM_BOLD | CFM_UNDERLINE | CFM_FACE;
  cf.dwEffects = CFE_BOLD | CFE_UNDERLINE;
  cf.yHeight = 200;
  std::strcpy(cf.szFaceName, "DejaVu Sans");
  setFormat(cf);
  SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("red"));

  SendMessageA(edit, EM_SETSEL, 6, 9);
  CHARFORMAT2A got = format();
  EXPECT_EQ(got.crTextColor, RGB(200, 0, 0));
  EXPECT_EQ(got.dwEffects & (CFE_BOLD | CFE_UNDERLINE | CFE_AUTOCOLOR),
            static_cast<DWORD>(CFE_BOLD | CFE_UNDERLINE));
  EXPECT_STREQ(got.szFaceName, "DejaVu Sans");
  SendMessageA(edit, EM_SETSEL, 0, 9);  // plain and red: colour and weight differ
  EXPECT_EQ(format().dwMask & (CFM_COLOR | CFM_BOLD), 0u);
  EXPECT_TRUE(format(SCF_DEFAULT).dwEffects & CFE_AUTOCOLOR);

  std::vector<vorntest::RichTextRun> runs = vorntest::richEditRuns(edit);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].text, "red");
  EXPECT_EQ(runs[1].colour, RGB(200, 0, 0));
  EXPECT_EQ(runs[1].pointSize, 10);
  EXPECT_TRUE(runs[1].bold && runs[1].underline && !runs[0].bold);

  // A range recoloured and given a background; then the background made automatic again.
  SendMessageA(edit, EM_SETSEL, 0, 5);
  cf.dwMask = CFM_BACKCOLOR;
  cf.dwEffects = 0;
  cf.crBackColor = RGB(0, 0, 90);
  setFormat(cf);
  runs = vorntest::richEditRuns(edit);
  EXPECT_TRUE(runs.at(0).hasBackground && runs[0].text == "plain");
  EXPECT_EQ(runs[0].background, RGB(0, 0, 90));
  cf.dwEffects = CFE_AUTOBACKCOLOR;
  setFormat(cf);
  EXPECT_FALSE(vorntest::richEditRuns(edit)[0].hasBackground);
}

TEST_F(RichEdit, DefaultColourReadsBackAsSetNotAutomatic) {
  struct Case {
    bool plain;
    WPARAM target;
  } cases[] = {{false, SCF_DEFAULT}, {true, SCF_DEFAULT}, {true, SCF_ALL}};
  for (const Case& c : cases) {
    SendMessageA(edit, EM_SETTEXTMODE, c.plain ? TM_PLAINTEXT : TM_RICHTEXT, 0);
    CHARFORMAT2A cf = colourFormat(RGB(10, 120, 30));
    setFormat(cf, c.target);
    CHARFORMAT2A got = format(SCF_DEFAULT);
    EXPECT_EQ(got.crTextColor, RGB(10, 120, 30)) << c.plain << c.target;
    EXPECT_FALSE(got.dwEffects & CFE_AUTOCOLOR) << c.plain << c.target;
    cf.dwEffects = CFE_AUTOCOLOR;  // back to the system's colour
    setFormat(cf, c.target);
    EXPECT_TRUE(format(SCF_DEFAULT).dwEffects & CFE_AUTOCOLOR) << c.plain << c.target;
  }
}

TEST_F(RichEdit, DefaultFontReportsItsPointSize) {
  append("before");
  EXPECT_GT(vorntest::richEditRuns(edit).at(0).pointSize, 0);
  // A font set by handle is sized in pixels: 16 pixels at 96 DPI are 12 points.
  LOGFONTA lf{};
  lf.lfHeight = -16;
  HFONT font = CreateFontIndirectA(&lf);
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_EQ(vorntest::richEditRuns(edit).at(0).pointSize, 12);
  EXPECT_EQ(format(SCF_DEFAULT).yHeight, 240);
  DestroyWindow(edit);
  DeleteObject(font);
}

// Sizes in twips draw at 96 pixels per inch whatever resolution the screen reports: Qt gets
// pixel sizes, and the twips read back as they were given.
TEST_F(RichEdit, SizesReachTheTextInPixelsAtNinetySixDpi) {
  append("eight points");
  auto* widget = dynamic_cast<QTextEdit*>(vornplatform::clientWidgetOf(edit));
  ASSERT_NE(widget, nullptr);
  struct Case {
    WPARAM target;
    LONG twips;
    int pixels;
  } cases[] = {{SCF_ALL, 160, 11}, {SCF_ALL, 140, 9}, {SCF_DEFAULT, 200, 13}};
  for (const Case& c : cases) {
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_SIZE;
    cf.yHeight = c.twips;
    setFormat(cf, c.target);
    QFont shown = c.target == SCF_DEFAULT
                      ? widget->document()->defaultFont()
                      : widget->document()->begin().begin().fragment().charFormat().font();
    EXPECT_EQ(shown.pixelSize(), c.pixels) << c.twips;
    EXPECT_EQ(format(c.target == SCF_DEFAULT ? SCF_DEFAULT : SCF_SELECTION).yHeight, c.twips);
  }
}

TEST_F(RichEdit, EdgesDrawAFrame) {
  std::string path = ::testing::TempDir() + "rich-edit-edge.png";
  struct Case {
    DWORD exStyle, style;
    bool framed, sunken;
  } cases[] = {{0, 0, false, false},
               {0, WS_BORDER, true, false},
               {WS_EX_CLIENTEDGE, 0, true, true},
               {WS_EX_CLIENTEDGE, WS_BORDER, true, true}};
  for (const Case& c : cases) {
    HWND framed = CreateWindowExA(c.exStyle, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | c.style, 0,
                                  130, 100, 40, top, nullptr, nullptr, nullptr);
    ASSERT_TRUE(vorntest::saveWindowPng(framed, path.c_str()));
    DestroyWindow(framed);
    QImage image(QString::fromStdString(path));
    std::remove(path.c_str());
    ASSERT_FALSE(image.isNull());
    QRgb inside = image.pixel(50, 20);
    QRgb topLeft = image.pixel(0, 0);
    QRgb bottomRight = image.pixel(image.width() - 1, image.height() - 1);
    EXPECT_EQ(topLeft != inside, c.framed) << c.exStyle << " " << c.style;
    // Sunken: shadow above and to the left, light below and to the right.
    EXPECT_EQ(topLeft != bottomRight, c.sunken) << c.exStyle << " " << c.style;
  }
}

TEST_F(RichEdit, AppendingWhileScrolledBackDoesNotMoveTheView) {
  for (int i = 0; i < 60; ++i) append(i ? "\r\nline" : "line");
  SendMessageA(edit, WM_VSCROLL, SB_TOP, 0);
  for (int i = 0; i < 30; ++i) {
    append("\r\nmore");
    setColour(RGB(0, 128, 0));
  }
  EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &si));
  EXPECT_EQ(si.nPos, 0);
  EXPECT_GT(si.nMax, si.nPos + static_cast<int>(si.nPage));  // not at the end
  SendMessageA(edit, WM_VSCROLL, SB_BOTTOM, 0);
  ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &si));
  EXPECT_EQ(si.nPos + static_cast<int>(si.nPage), si.nMax + 1);  // reads as at the end
  EXPECT_TRUE(vorntest::richEditAtEnd(edit));
  append("\r\nat the end");
  EXPECT_FALSE(vorntest::richEditAtEnd(edit));  // only asked scrolling moves the view
  SendMessageA(edit, EM_SCROLL, SB_PAGEUP, 0);
  ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &si));
  EXPECT_LT(si.nPos + static_cast<int>(si.nPage), si.nMax + 1);
}

TEST_F(RichEdit, ReadOnlyAndTheLimitStopTypingButNotProgrammaticChanges) {
  SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
  SetFocus(edit);
  vorntest::typeText(edit, "typed");
  EXPECT_EQ(windowText(), "");
  append("shown");
  EXPECT_EQ(windowText(), "shown");
  SendMessageA(edit, EM_SETOPTIONS, ECOOP_AND, ~static_cast<LPARAM>(ECO_READONLY));
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  vorntest::typeText(edit, "!");
  EXPECT_EQ(windowText(), "shown!");
  // Typing stops at the limit, while inserts grow it.
  SendMessageA(edit, EM_LIMITTEXT, 8, 0);
  vorntest::typeText(edit, "abcdef");
  EXPECT_EQ(windowText(), "shown!ab");
  append("12345");
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 13);
}

// Output panes append and recolour many lines between two turns of the event loop; the
// control catches its widget up later, which must not repeat or lose anything.
TEST_F(RichEdit, AppendsBetweenEventsNotifyOnceEachAndOnlyTextChangesModify) {
  SetWindowTextA(edit, "start");
  EXPECT_TRUE(messagesOf(top, WM_COMMAND).empty());  // no notices until the mask asks
  SendMessageA(edit, EM_SETEVENTMASK, 0, ENM_CHANGE);
  SendMessageA(edit, EM_SETSEL, 2, 4);
  EXPECT_EQ(SendMessageA(edit, EM_GETMODIFY, 0, 0), FALSE);  // selecting changes nothing
  for (int i = 0; i < 3; ++i) {
    append("\r\nline");
    setColour(RGB(0, 0, 200));
  }
  EXPECT_EQ(wParamsOf(top, WM_COMMAND), std::vector<WPARAM>(3, MAKEWPARAM(7, EN_CHANGE)));
  EXPECT_EQ(SendMessageA(edit, EM_GETMODIFY, 0, 0), TRUE);
  EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 4);
  vornplatform::processEventsFor(1);
  EXPECT_EQ(messagesOf(top, WM_COMMAND).size(), 3u);  // no second notice on catching up
  EXPECT_EQ(windowText(), "start\r\nline\r\nline\r\nline");
}

// A burst of output holds the layout and its scrolling back until something needs them; what
// the pane then reports must match a pane that laid out and scrolled after every message.
TEST_F(RichEdit, BurstsOfAppendsAndScrollsReadAsIfDoneOneByOne) {
  enum Step { Append, Bottom, Caret, Modified, Unmodified, AtStart };
  struct Case {
    const char* name;
    std::vector<Step> each;  // repeated 40 times
    std::vector<Step> then;
  };
  const Case cases[] = {
      {"chat", {Append, Modified, Bottom}, {}},
      {"caret", {Append, Caret}, {}},
      {"text after the last scroll", {Append, Bottom}, {Append, Append, Append}},
      {"caret then bottom", {Append, Caret, Append, Bottom}, {Caret}},
      {"change above the end", {Append, Bottom}, {AtStart, Append, Bottom, AtStart}},
      {"flag cleared", {Append, Bottom, Modified}, {Unmodified}},
  };
  HWND steady =
      CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0,
                      150, 460, 120, top, nullptr, nullptr, nullptr);
  int line = 0;
  auto run = [&line](HWND pane, Step step, bool settleAfter) {
    std::string text = "\r\nline " + std::to_string(line++);
    if (step == Append || step == AtStart) {
      SendMessageA(pane, EM_SETSEL, step == AtStart ? 0 : static_cast<WPARAM>(-1),
                   step == AtStart ? 0 : -1);
      SendMessageA(pane, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (step == Bottom) SendMessageA(pane, WM_VSCROLL, SB_BOTTOM, 0);
    if (step == Caret) SendMessageA(pane, EM_SCROLLCARET, 0, 0);
    if (step == Modified || step == Unmodified)
      SendMessageA(pane, EM_SETMODIFY, step == Modified, 0);
    if (settleAfter) SendMessageA(pane, EM_GETLINECOUNT, 0, 0);
  };
  for (const Case& c : cases) {
    for (HWND pane : {edit, steady}) {
      SetWindowTextA(pane, "start");
      line = 0;
      for (int i = 0; i < 40; ++i)
        for (Step step : c.each) run(pane, step, pane == steady);
      for (Step step : c.then) run(pane, step, pane == steady);
    }
    EXPECT_EQ(SendMessageA(edit, EM_GETMODIFY, 0, 0), SendMessageA(steady, EM_GETMODIFY, 0, 0))
        << c.name;
    for (UINT query : {EM_GETFIRSTVISIBLELINE, EM_GETLINECOUNT})
      EXPECT_EQ(SendMessageA(edit, query, 0, 0), SendMessageA(steady, query, 0, 0)) << c.name;
    SCROLLINFO burst{sizeof burst, SIF_ALL, 0, 0, 0, 0, 0};
    SCROLLINFO oneByOne = burst;
    ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &burst) && GetScrollInfo(steady, SB_VERT, &oneByOne));
    EXPECT_EQ(burst.nPos, oneByOne.nPos) << c.name;
    EXPECT_EQ(burst.nMax, oneByOne.nMax) << c.name;
    EXPECT_EQ(vorntest::richEditAtEnd(edit), vorntest::richEditAtEnd(steady)) << c.name;
    EXPECT_EQ(selection().cpMax, HIWORD(SendMessageA(steady, EM_GETSEL, 0, 0))) << c.name;
    EXPECT_EQ(SendMessageA(edit, EM_GETMODIFY, 0, 0), SendMessageA(steady, EM_GETMODIFY, 0, 0))
        << c.name << " once laid out";
  }
}

TEST_F(RichEdit, TheUserAndTheProgramTakeTurnsWithTheSelection) {
  SetWindowTextA(edit, "start");
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 1, 1);
  ASSERT_TRUE(vorntest::clickRichEditAt(edit, 4));
  EXPECT_EQ(selection().cpMax, 4);
  SendMessageA(edit, EM_SETSEL, 0, 2);
  vorntest::typeText(edit, "Z");
  EXPECT_EQ(windowText(), "Zart");
  EXPECT_TRUE(selection().cpMin == 1 && selection().cpMax == 1);
}

TEST_F(RichEdit, LinksNotifyOnLeftPressOnlyWithTheMaskAndOnlyForAllowedAddresses) {
  std::vector<ENLINK> notes;
  answer() = [&notes](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
    if (msg != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == EN_LINK) notes.push_back(*reinterpret_cast<ENLINK*>(lParam));
    *result = 0;
    return true;
  };
  SendMessageA(edit, EM_AUTOURLDETECT, TRUE, 0);
  const char* text = "see http://x.org/a and file:///etc/passwd or www.y.com. javascript:alert(1)";
  append(text);
  std::string all(text);
  LONG http = static_cast<LONG>(all.find("http"));
  LONG file = static_cast<LONG>(all.find("file"));
  LONG www = static_cast<LONG>(all.find("www"));
  LONG js = static_cast<LONG>(all.find("javascript"));

  ASSERT_TRUE(vorntest::clickRichEditAt(edit, http + 3));
  EXPECT_TRUE(notes.empty());  // no ENM_LINK yet
  SendMessageA(edit, EM_SETEVENTMASK, 0, ENM_LINK);
  ASSERT_TRUE(vorntest::clickRichEditAt(edit, http + 3));
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].msg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(notes[0].nmhdr.hwndFrom, edit);
  EXPECT_EQ(range(notes[0].chrg.cpMin, notes[0].chrg.cpMax), "http://x.org/a");

  ASSERT_TRUE(vorntest::clickRichEditAt(edit, http + 3, vorntest::RightButton));
  vorntest::clickRichEditAt(edit, file + 3);
  vorntest::clickRichEditAt(edit, js + 3);
  vorntest::clickRichEditAt(edit, http - 2);
  EXPECT_EQ(notes.size(), 1u);
  vorntest::clickRichEditAt(edit, www + 1);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(range(notes[1].chrg.cpMin, notes[1].chrg.cpMax), "www.y.com");  // without the full stop
}

// The current word as the history edit's completion finds it.
std::string currentWord(HWND edit) {
  CHARRANGE caret{};
  SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  LPARAM at = caret.cpMin;
  LPARAM from = SendMessageA(edit, EM_FINDWORDBREAK, WB_ISDELIMITER, at)
                    ? at
                    : SendMessageA(edit, EM_FINDWORDBREAK, WB_RIGHTBREAK, at);
  LPARAM start = SendMessageA(edit, EM_FINDWORDBREAK, WB_MOVEWORDLEFT, from);
  if (SendMessageA(edit, EM_FINDWORDBREAK, WB_ISDELIMITER, start)) return "";
  LPARAM right = SendMessageA(edit, EM_FINDWORDBREAK, WB_MOVEWORDRIGHT, start);
  LPARAM end = SendMessageA(edit, EM_FINDWORDBREAK, WB_LEFT, right);
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(start), end);
  char word[64] = {};
  SendMessageA(edit, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(word));
  return word;
}

TEST_F(RichEdit, WordBreaksSelectTheRunOfNonBlanksAroundTheCaret) {
  struct Case {
    const char* text;
    int caret;
    const char* word;
  } cases[] = {{"x al", 4, "al"},     {"al x", 1, "al"},  {"hello  wor", 10, "wor"},
               {"one two", 3, "one"}, {"a\tbc", 4, "bc"}, {"n\xc3\xa9z ", 4, "n\xc3\xa9z"}};
  for (const Case& c : cases) {
    SetWindowTextA(edit, c.text);
    SendMessageA(edit, EM_SETSEL, c.caret, c.caret);
    EXPECT_EQ(currentWord(edit), c.word) << c.text;
  }
  SetWindowTextA(edit, "ab  ");
  EXPECT_TRUE(SendMessageA(edit, EM_FINDWORDBREAK, WB_ISDELIMITER, 4));
  EXPECT_EQ(SendMessageA(edit, EM_FINDWORDBREAK, WB_LEFT, 4), 2);
}

}  // namespace
