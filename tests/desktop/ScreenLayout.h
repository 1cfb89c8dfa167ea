// Where things are on the screen, worked out from a window's geometry and the sizes its layout
// fixes: the one place the cases take positions from.
#pragma once

#include "tests/desktop/ScreenImage.h"

// The main window, given its inside on the screen. The chat page's regions keep the chat
// plug-in's default sizes (input and topic lines 21 pixels, nick list 110); the menu bar and
// the tab strip at the bottom take the toolkit's heights, about 20 and 22 pixels.
struct MainLayout {
  static const int MenuBar = 20;
  static const int TabStrip = 22;
  static const int Line = 21;
  static const int Nicks = 110;
  static const int Gap = 4;  // between the regions of a page

  Rect window;

  int pageTop() const { return window.y + MenuBar; }
  int pageBottom() const { return window.y + window.height - TabStrip; }

  Rect menuBar() const { return Rect{window.x, window.y, window.width, MenuBar}; }
  Rect tabStrip() const { return Rect{window.x, pageBottom(), window.width, TabStrip}; }
  Point systemMenu() const { return {window.x + 25, window.y + MenuBar / 2}; }
  Point clientMenu() const { return {window.x + 80, window.y + MenuBar / 2}; }
  // The tabs: "System" first, then the client's chat page.
  Point systemTab() const { return {window.x + 30, pageBottom() + TabStrip / 2}; }
  Point chatTab() const { return {window.x + 105, pageBottom() + TabStrip / 2}; }
  // The input line at the page's bottom: the chat input or the System command line.
  Point inputLine() const { return {window.x + window.width / 3, pageBottom() - Gap - Line / 2}; }
  // The chat output between the topic line, the nick list and the input line.
  Rect output() const {
    int top = pageTop() + Line + 2 * Gap;
    return Rect{window.x + Gap, top, window.width - Nicks - 3 * Gap,
                pageBottom() - Line - 2 * Gap - top};
  }
  // The output's text without its scroll bar (at most 20 pixels wide) and its border.
  Rect outputText() const {
    Rect r = output();
    return Rect{r.x + 4, r.y + 4, r.width - 28, r.height - 8};
  }
  // The output's vertical scroll bar: its trough just below the up arrow and just above the
  // down arrow, the down arrow, and the whole bar.
  Point scrollBarTop() const { return output().at(output().width - 7, 28); }
  Point scrollBarBottom() const { return output().at(output().width - 7, output().height - 28); }
  Point scrollDownArrow() const { return output().at(output().width - 7, output().height - 8); }
  Rect scrollBar() const {
    Rect r = output();
    return Rect{r.x + r.width - 24, r.y, 24, r.height};
  }
  // The first nick of the nick list.
  Point firstNick() const { return {window.x + window.width - Nicks / 2, pageTop() + 15}; }
};

// A setup window (a tree of pages left, the selected page right, "Close" under the tree), given
// its inside on the screen.
struct SetupLayout {
  Rect window;

  // The tree's inside, without its border, above "Close".
  Rect tree() const {
    return Rect{window.x + 4, window.y + 4, window.width * 3 / 10 - 12, window.height - 36};
  }
  // The page area: the right seven tenths of the window.
  Rect page() const {
    int left = window.width * 3 / 10 + 4;
    return Rect{window.x + left, window.y, window.width - left, window.height};
  }
};

// A window framed by the window manager, given its inside and the frame's extents: the close
// box sits at the right end of the title bar.
struct FrameLayout {
  Rect window;
  long left, right, top, bottom;

  Point closeBox() const {
    return {window.x + window.width + static_cast<int>(right) - 12,
            window.y - static_cast<int>(top) / 2};
  }
};
