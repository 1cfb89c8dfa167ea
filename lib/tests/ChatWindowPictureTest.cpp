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
  HPEN outline = CreatePen(PS_SOLID, 1, RGB(120, 80, 0));
  HGDIOBJ oldBrush = SelectObject(dc, yellow);
  HGDIOBJ oldPen = SelectObject(dc, outline);
  Ellipse(dc, 0, 0, 16, 16);
  SetPixel(dc, 5, 5, RGB(0, 0, 0));
  SetPixel(dc, 10, 5, RGB(0, 0, 0));
  MoveToEx(dc, 4, 10, nullptr);
  LineTo(dc, 8, 12);
  LineTo(dc, 12, 9);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldBitmap);
  DeleteObject(outline);
  DeleteObject(yellow);
  DeleteObject(white);
  DeleteDC(dc);
  return bitmap;
}

class ChatWindowPicture : public ToolkitTest {
 protected:
  void TearDown() override {
    // Controls first, then the containers that held them.
    for (Window* window :
         {static_cast<Window*>(input), static_cast<Window*>(nicks), static_cast<Window*>(output),
          static_cast<Window*>(status), static_cast<Window*>(tabs), static_cast<Window*>(body),
          static_cast<Window*>(top)})
      delete window;
    if (bar) bar->release();
    if (font) font->releaseOwner();
    ToolkitTest::TearDown();
  }

  void buildWindow() {
    top = new TopWindow("Vornith - #lobby", 0, 0, 720, 440, false);
    top->createIn(root);
    bar = (new Menu(true))->addRef();
    bar->appendItem("&Server", 1);
    bar->appendItem("&Channel", 2);
    bar->appendItem("&Help", 3);
    bar->setOwner(top);

    body = new CompassContainer("body", false);
    top->setClient(body);
    tabs = new Tabs("tabs", Tabs::TabsTop);
    body->setRegion(tabs, CompassContainer::Centre, 0, -1);
    nicks = new ListView("nicks", ListView::Ascending);
    body->setRegion(nicks, CompassContainer::East, 140, 1);
    input = new HistoryEditEx("input");
    body->setRegion(input, CompassContainer::South, 26, 0);

    output = new RichEdit("#lobby", 0);
    tabs->addPage(output, nullptr);
    status = new RichEdit("status", 0);
    tabs->addPage(status, "Status");
    tabs->select(0);
    top->show();
  }

  void fillOutput() {
    font = new Font("DejaVu Sans", 10);
    output->setFont(font);
    output->setAutoUrlDetect(true);
    struct Line {
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
    };
    for (const Line& line : lines) {
      output->setTextColour(line.colour);
      font->setStyle(line.style);
      output->appendText(line.text);
    }
    output->setTextColour(RGB(0, 0, 0));
    font->setStyle(0);
    output->appendText("<carol> nice ");
    HBITMAP smiley = drawSmiley();
    pictureInserted = output->appendPicture(smiley);
    DeleteObject(smiley);
    output->appendText(" see you\n");
    int start = output->getTextLength();
    output->appendText("<dave> highlighted line\n");
    output->setRangeBackground(start, 23, RGB(255, 255, 160));

    status->appendText("Status window\n");
    for (const char* nick : {"dave", "ann", "carol", "bob"}) nicks->addItem(nick, 0);
    input->setText("/msg bob hi");
  }

  TopWindow* top = nullptr;
  Menu* bar = nullptr;
  CompassContainer* body = nullptr;
  Tabs* tabs = nullptr;
  ListView* nicks = nullptr;
  HistoryEditEx* input = nullptr;
  RichEdit* output = nullptr;
  RichEdit* status = nullptr;
  Font* font = nullptr;
  bool pictureInserted = false;
};

TEST_F(ChatWindowPicture, AssembledWindowShowsEveryPart) {
  buildWindow();
  fillOutput();
  vorntest::pumpFor(50);

  // The pane reads as a person sees it: colours per line, the link, the picture in its line.
  auto runs = vorntest::richEditRuns(output->getHwnd());
  bool link = false;
  bool picture = false;
  bool red = false;
  for (const auto& run : runs) {
    link = link || (run.link && run.text.rfind("http://example.org/notes", 0) == 0);
    picture = picture || run.picture;
    red = red || (run.colour == RGB(192, 0, 0) && run.bold);
  }
  EXPECT_TRUE(pictureInserted);
  EXPECT_TRUE(link);
  EXPECT_TRUE(picture);
  EXPECT_TRUE(red);
  EXPECT_TRUE(vorntest::richEditAtEnd(output->getHwnd()));

  // Layout: the nick list on the right, the input line along the bottom, the tabs in the rest.
  EXPECT_EQ(140, nicks->width);
  EXPECT_EQ(26, input->height);
  EXPECT_EQ(top->clientWidth, nicks->left + nicks->width);
  EXPECT_LE(tabs->left + tabs->width, nicks->left);
  EXPECT_EQ(top->clientHeight, input->top + input->height);
  EXPECT_LE(tabs->top + tabs->height, input->top);
  EXPECT_GT(output->height, 200);
  EXPECT_TRUE(output->isVisible());
  EXPECT_FALSE(status->isVisible());
  EXPECT_EQ(4, static_cast<int>(SendMessageA(nicks->getHwnd(), LVM_GETITEMCOUNT, 0, 0)));

  EXPECT_TRUE(vorntest::saveWindowPng(top->getHwnd(), "chat-window.png"));
}

}  // namespace
