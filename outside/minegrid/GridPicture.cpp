#include "outside/minegrid/GridPicture.h"

#include <cstdarg>
#include <cstdio>

namespace {

const char kClassName[] = "MineGridPicture";

void registerClass() {
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  if (GetClassInfoExA(nullptr, kClassName, &info)) return;
  info.cbSize = sizeof info;
  info.lpfnWndProc = nullptr;
  info.lpszClassName = kClassName;
  info.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  info.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  info.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (hwnd == GridPicture::current().window()) GridPicture::current().paint(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    if (message == WM_LBUTTONDOWN && hwnd == GridPicture::current().window()) {
      int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
      GridPicture& picture = GridPicture::current();
      int column = x / picture.cellSize(), row = y / picture.cellSize();
      picture.click(column, row);
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  };
  RegisterClassExA(&info);
}

void append(std::string& log, const char* format, ...) __attribute__((format(printf, 2, 3)));
void append(std::string& log, const char* format, ...) {
  char line[96];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  log += line;
}

}  // namespace

GridPicture& GridPicture::current() {
  static GridPicture picture;
  return picture;
}

// A new game replaces the picture; the old window goes unless its owner took it already.
void GridPicture::init(HWND window, int width, int height) {
  append(calls, "Init %i %i\n", width, height);
  if (grid != nullptr && IsWindow(grid)) DestroyWindow(grid);
  owner = window;
  columns = width > 0 ? width : 0;
  rows = height > 0 ? height : 0;
  enabled = true;
  updating = 0;
  values.assign(static_cast<size_t>(columns) * rows, Hidden);
  colours.assign(values.size(), 0);
  cell = fittingCell();
  registerClass();
  grid = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, columns * cell + 1,
                         rows * cell + LeaveHeight, owner, nullptr, nullptr, nullptr);
}

int GridPicture::fittingCell() const {
  RECT room{0, 0, 0, 0};
  if (owner == nullptr || !GetClientRect(owner, &room) || columns == 0 || rows == 0)
    return CellSize;
  int across = (room.right - 1) / columns, down = (room.bottom - LeaveHeight - 1) / rows;
  int fits = across < down ? across : down;
  return fits >= CellSize ? CellSize : fits > MinCellSize ? fits : MinCellSize;
}

void GridPicture::fill(int x, int y, int value, COLORREF colour) {
  append(calls, "Fill %i %i %i %06x\n", x, y, value, colour);
  if (x < 0 || x >= columns || y < 0 || y >= rows) return;
  values[static_cast<size_t>(y) * columns + x] = value;
  colours[static_cast<size_t>(y) * columns + x] = colour;
  if (updating == 0) redraw();
}

void GridPicture::endUpdate() {
  if (updating > 0) --updating;
  if (updating == 0) redraw();
}

void GridPicture::redraw() {
  if (grid != nullptr && IsWindow(grid)) InvalidateRect(grid, nullptr, FALSE);
}

bool GridPicture::click(int column, int row) {
  if (owner == nullptr || !IsWindow(owner)) return false;
  if (row >= rows) return PostMessageA(owner, GameMessage, static_cast<WPARAM>(-1), 0) != 0;
  if (!enabled || column < 0 || column >= columns || row < 0) return false;
  if (values[static_cast<size_t>(row) * columns + column] != Hidden) return false;
  return PostMessageA(owner, GameMessage, static_cast<WPARAM>(column), row) != 0;
}

// Hidden cells are the grey ground under the lines; only uncovered ones are drawn one by one.
void GridPicture::paint(HDC dc) {
  int right = columns * cell + 1, bottom = rows * cell + 1;
  RECT ground{0, 0, right, bottom};
  FillRect(dc, &ground, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  for (int x = 0; x <= columns; ++x) {
    MoveToEx(dc, x * cell, 0, nullptr);
    LineTo(dc, x * cell, bottom);
  }
  for (int y = 0; y <= rows; ++y) {
    MoveToEx(dc, 0, y * cell, nullptr);
    LineTo(dc, right, y * cell);
  }
  SelectObject(dc, pen);
  SetBkMode(dc, TRANSPARENT);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x)
      if (values[static_cast<size_t>(y) * columns + x] != Hidden) paintCell(dc, x, y);
  RECT leave{0, rows * cell + 2, right, rows * cell + LeaveHeight};
  FillRect(dc, &leave, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextA(dc, "Leave", -1, &leave, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void GridPicture::paintCell(HDC dc, int x, int y) {
  size_t at = static_cast<size_t>(y) * columns + x;
  int value = values[at];
  RECT box{x * cell + 1, y * cell + 1, (x + 1) * cell, (y + 1) * cell};
  FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (value < 0) {
    HBRUSH mine = CreateSolidBrush(colours[at]);
    HGDIOBJ brush = SelectObject(dc, mine);
    int inset = cell > 9 ? 3 : 1;
    Ellipse(dc, box.left + inset, box.top + inset, box.right - inset, box.bottom - inset);
    SelectObject(dc, brush);
    DeleteObject(mine);
  } else if (value > 0) {
    char digit[16];
    std::snprintf(digit, sizeof digit, "%i", value);
    SetTextColor(dc, colours[at]);
    DrawTextA(dc, digit, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}
