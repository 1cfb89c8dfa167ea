// A chat-like window assembled from the toolkit (menu bar, output pane with colours, a link
// and a picture, tab pages, nick list, input line) saved as chat-window.png to look at.
#include <string>
#include <vector>

#include "lib/CompassContainer.h"
#include "lib/HistoryEdit.h"
#include "lib/ListView.h"
#include "lib/Menu.h"
#include "lib/RichEdit.h"
#include "lib/Tabs.h"
#include "lib/TopWindow.h"
#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

namespace {

// A 16 x 16 smiley drawn into a bitmap of the screen's kind.
HBITMAP drawSmiley() {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  RECT all = {0, 0, 16, 16};
  FillRect(dc, &all, white);
  HBRUSH yellow = CreateSolidBrush(RGB(255, 210, 0));
  HGDIOBJ oldBrush = SelectObject(dc, yellow);
  Ellipse(dc, 0, 0, 16, 16);
  for (int x : {5, 10}) SetPixel(dc, x, 5, RGB(0, 0, 0));
  MoveToEx(dc, 4, 10, nullptr);
  LineTo(dc, 8, 12);
  LineTo(dc, 12, 9);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldBitmap);
  DeleteObject(yellow);
  DeleteObject(white);
  DeleteDC(dc);
  return bitmap;
}

using ChatWindowPicture = ToolkitTest;

TEST_F(ChatWindowPicture, AssembledWindowShowsEveryPart) {
  // Declared outermost first, so the controls go before the containers that hold them.
  TopWindow top("Vornith - #lobby", 0, 0, 720, 440, false);
  top.createIn(root);
  Menu* bar = (new Menu(true))->addRef();
  int id = 1;
  for (const char* item : {"&Server", "&Channel", "&Help"}) bar->appendItem(item, id++);
  bar->setOwner(&top);
  CompassContainer body("body", false);
  top.setClient(&body);
  Tabs tabs("tabs", Tabs::TabsTop);
  body.setRegion(&tabs, CompassContainer::Centre, 0, -1);
  ListView nicks("nicks", ListView::Ascending);
  body.setRegion(&nicks, CompassContainer::East, 140, 1);
  HistoryEditEx input("input");
  body.setRegion(&input, CompassContainer::South, 26, 0);
  RichEdit output("#lobby", 0), status("status", 0);
  tabs.addPage(&output, nullptr);
  tabs.addPage(&status, "Status");
  tabs.select(0);
  top.show();

  Font* font = new Font("DejaVu Sans", 10);
  output.setFont(font);
  output.setAutoUrlDetect(true);
  const struct {
    COLORREF colour;
    int style;
    const char* text;
  } lines[] = {
      {RGB(128, 0, 128), 0, "Connecting to chat.example.org (6667)...\n"},
      {RGB(0, 128, 0), 0, "Connected.\n"},
      {RGB(192, 0, 0), Font::Bold, "*** Topic: welcome to #lobby\n"},
      {RGB(0, 0, 0), 0, "<ann> hello everyone\n"},
      {RGB(0, 0, 192), Font::Italic, "<bob> the notes are at http://example.org/notes\n"},
      {RGB(128, 128, 128), 0, "*** carol has joined\n"},
      {RGB(0, 0, 0), 0, "<carol> nice "},
  };
  for (const auto& line : lines) {
    output.setTextColour(line.colour);
    font->setStyle(line.style);
    output.appendText(line.text);
  }
  HBITMAP smiley = drawSmiley();
  EXPECT_TRUE(output.appendPicture(smiley));
  DeleteObject(smiley);
  output.appendText(" see you\n");
  int start = output.getTextLength();
  output.appendText("<dave> highlighted line\n");
  output.setRangeBackground(start, 23, RGB(255, 255, 160));
  status.appendText("Status window\n");
  for (const char* nick : {"dave", "ann", "carol", "bob"}) nicks.addItem(nick, 0);
  input.setText("/msg bob hi");
  vorntest::pumpFor(50);

  // The pane reads as a person sees it: colours per line, the link, the picture in its line.
  bool link = false, picture = false, red = false;
  for (const auto& run : vorntest::richEditRuns(output.getHwnd())) {
    link = link || (run.link && run.text.rfind("http://example.org/notes", 0) == 0);
    picture = picture || run.picture;
    red = red || (run.colour == RGB(192, 0, 0) && run.bold);
  }
  EXPECT_TRUE(link && picture && red);
  EXPECT_TRUE(vorntest::richEditAtEnd(output.getHwnd()));
  // Layout: the nick list on the right, the input line along the bottom, the tabs in the rest.
  EXPECT_EQ(top.clientWidth - 140, nicks.left);
  EXPECT_EQ(top.clientHeight - 26, input.top);
  EXPECT_LE(tabs.left + tabs.width, nicks.left);
  EXPECT_LE(tabs.top + tabs.height, input.top);
  EXPECT_TRUE(output.isVisible() && !status.isVisible());
  EXPECT_TRUE(vorntest::saveWindowPng(top.getHwnd(), "chat-window.png"));
  bar->release();
  font->releaseOwner();
}

}  // namespace
