#include "plugins/v2draw/DrawBoard.h"

#include <cstdio>

#include "plugins/v2draw/DrawSession.h"

DrawBoard::DrawBoard(DrawSession* session, const char* nick)
    : session(session), nick(nick != nullptr ? nick : ""), hasNick(nick != nullptr && *nick) {}

DrawBoard::~DrawBoard() {
  deleteLines();
  if (window != nullptr) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (GetCapture() == window) ReleaseCapture();
    ReleaseDC(window, dc);
    session->removeSystemTab(window);
  }
  if (menu != nullptr) DestroyMenu(menu);
}

bool DrawBoard::create() {
  char title[128];
  if (hasNick)
    std::snprintf(title, sizeof title, "Dessin (%s)", nick.c_str());
  else
    std::snprintf(title, sizeof title, "Dessin");
  window = session->addSystemTab(title);
  if (window == nullptr) return false;
  menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, CloseItem, "Close");
  SetMenu(window, menu);  // a tab is a child window: only the pop-up shows it
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DrawBoard::procedure));
  dc = GetDC(window);
  session->selectSystemTab(window);
  clear();
  return true;
}

void DrawBoard::deleteLines() {
  lines.forEach([](DrawLine* line) { delete line; });
  lines.clear();
}

void DrawBoard::addLine(const DrawLine& line) {
  if (lines.count() >= MaxLines) delete lines.removeFirst();
  lines.append(new DrawLine(line));
  draw(line);
  if (window != nullptr) session->highlightSystemTab(window, true);
}

void DrawBoard::draw(const DrawLine& line) {
  if (line.kind != DrawLine::Segment || dc == nullptr) return;
  if (line.isDot()) {
    SetPixel(dc, line.x1, line.y1, line.color);
    return;
  }
  MoveToEx(dc, line.x1, line.y1, nullptr);
  LineTo(dc, line.x2, line.y2);
}

void DrawBoard::clear() {
  PAINTSTRUCT paint;
  HDC painting = BeginPaint(window, &paint);
  if (painting == nullptr) return;
  RECT client{0, 0, 0, 0};
  GetClientRect(window, &client);
  Rectangle(painting, client.left, client.top, client.right, client.bottom);
  EndPaint(window, &paint);
}

void DrawBoard::repaint() {
  if (window == nullptr) return;
  clear();
  lines.forEach([this](DrawLine* line) { draw(*line); });
}

void DrawBoard::onLine(int color, int x1, int y1, int x2, int y2, int width) {
  if (!hasNick) {
    // The channel's segment shows when the server sends it back to everyone.
    session->sendChannelLine(color, x1, y1, x2, y2, width);
    return;
  }
  addLine(DrawLine::of(color, x1, y1, x2, y2, width));
  session->sendPrivateLine(nick.c_str(), color, x1, y1, x2, y2, width);
}

void DrawBoard::onKey(int key) { session->checkKeyPressed(key); }

void DrawBoard::onCommand(int id) {
  if (id == CloseItem) session->closeBoard(getNick());
}

LRESULT CALLBACK DrawBoard::procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* board = reinterpret_cast<DrawBoard*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (board == nullptr || board->closed) return DefWindowProcA(hwnd, msg, wParam, lParam);
  // A close asked for from here waits until the depth is back to 0.
  ++board->depth;
  board->handle(msg, wParam, lParam);
  LRESULT result = DefWindowProcA(hwnd, msg, wParam, lParam);
  --board->depth;
  return result;
}

void DrawBoard::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  int x = LOWORD(lParam), y = HIWORD(lParam);
  switch (msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_PAINT:
    case WM_DISPLAYCHANGE:
      repaint();
      return;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE)
        session->closeBoard(getNick());
      else
        onKey(static_cast<int>(wParam));
      return;
    case WM_COMMAND:
      onCommand(static_cast<int>(LOWORD(wParam)));
      return;
    case WM_RBUTTONUP:
      showMenu(x, y);
      return;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      onMouse(msg, x, y);
      return;
    default:
      return;
  }
}

void DrawBoard::onMouse(UINT msg, int x, int y) {
  if (msg == WM_LBUTTONDOWN) {
    previousCapture = SetCapture(window);
    lastX = x;
    lastY = y;
    dragging = true;
    return;
  }
  if (!dragging) return;
  if (msg == WM_MOUSEMOVE) {
    onLine(0, lastX, lastY, x, y, 0);
    lastX = x;
    lastY = y;
    return;
  }
  if (x == lastX && y == lastY) onLine(0, x, y, x, y, 0);
  if (previousCapture != nullptr)
    SetCapture(previousCapture);
  else
    ReleaseCapture();
  dragging = false;
}

void DrawBoard::showMenu(int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  TrackPopupMenu(menu, TPM_NONOTIFY | TPM_RIGHTBUTTON, point.x, point.y, 0, window, nullptr);
}
