// One whiteboard: a host system tab whose window procedure the board takes over. It keeps the
// tab's device context, draws the segments it holds or is given, turns mouse drags into
// segments and offers "Close" on a right click. A board without a nick is the channel's.
#pragma once

#include <string>

#include "platform/win32.h"
#include "plugins/v2draw/DrawLine.h"
#include "plugins/v2draw/ItemList.h"

class DrawSession;

class DrawBoard {
 public:
  // A peer cannot grow a board's memory and repaint time without bound: past this many
  // segments the oldest go first.
  static constexpr int MaxLines = 100000;
  enum { CloseItem = 0 };

  // nick null (or empty): the channel board.
  DrawBoard(DrawSession* session, const char* nick);
  virtual ~DrawBoard();
  DrawBoard(const DrawBoard&) = delete;
  DrawBoard& operator=(const DrawBoard&) = delete;

  // Opens the tab and takes it over; false when the host gave no tab.
  bool create();

  // A segment drawn with the mouse.
  virtual void onLine(int color, int x1, int y1, int x2, int y2, int width);
  // A key other than Escape: the host's keys first.
  virtual void onKey(int key);
  virtual void onCommand(int id);

  // Keeps the segment, draws it and marks the tab.
  void addLine(const DrawLine& line);
  // Clears the client area, then draws every segment in order.
  void repaint();

  bool isChannel() const { return !hasNick; }
  const char* getNick() const { return hasNick ? nick.c_str() : nullptr; }
  bool hasNickOf(const char* other) const { return hasNick && other != nullptr && nick == other; }
  HWND getWindow() const { return window; }
  int lineCount() const { return lines.count(); }
  // Inside its own window procedure (a pop-up menu included): not to be deleted now.
  bool isBusy() const { return depth > 0; }
  // Closed boards wait for deletion and take no more input.
  void markClosed() { closed = true; }

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void onMouse(UINT msg, int x, int y);
  void showMenu(int x, int y);
  void clear();
  void draw(const DrawLine& line);
  void deleteLines();

  DrawSession* session;
  HWND window = nullptr;
  HWND previousCapture = nullptr;
  HDC dc = nullptr;
  ItemList<DrawLine> lines;
  std::string nick;
  bool hasNick;
  int lastX = 0, lastY = 0;
  bool dragging = false;
  HMENU menu = nullptr;
  int depth = 0;
  bool closed = false;
};
