#include "plugins/vtraySetup/rt/Canvas.h"

namespace frt {

Canvas::Canvas(HDC dc, HWND window, bool release) : dc_(dc), window_(window), release_(release) {}

Canvas::~Canvas() {
  SelectObject(dc_, GetStockObject(BLACK_PEN));
  SelectObject(dc_, GetStockObject(WHITE_BRUSH));
  SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  if (pen_) DeleteObject(pen_);
  if (brush_) DeleteObject(brush_);
  if (font_) DeleteObject(font_);
  if (release_) ReleaseDC(window_, dc_);
}

Canvas* Canvas::forWindow(HWND window) {
  HDC dc = GetDC(window);
  return dc ? new Canvas(dc, window, true) : nullptr;
}

// The new object is selected first, so the old one is never selected when deleted.
void Canvas::replace(HGDIOBJ* held, HGDIOBJ made) {
  SelectObject(dc_, made);
  if (*held) DeleteObject(*held);
  *held = made;
}

void Canvas::setPen(Color color) { replace(&pen_, CreatePen(PS_SOLID, 1, colorToRGB(color))); }

void Canvas::setBrush(Color color) {
  brushColor_ = color;
  replace(&brush_, CreateSolidBrush(colorToRGB(color)));
}

void Canvas::setHollowBrush() {
  SelectObject(dc_, GetStockObject(NULL_BRUSH));
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
}

void Canvas::setFont(const FontStyle& font) {
  replace(&font_, CreateFontA(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                              DEFAULT_CHARSET, 0, 0, 0, 0, font.name.c_str()));
  SetTextColor(dc_, colorToRGB(font.color));
}

void Canvas::setTextColor(Color color) { SetTextColor(dc_, colorToRGB(color)); }

void Canvas::setTransparentText() { SetBkMode(dc_, TRANSPARENT); }

void Canvas::fillRect(const RECT& rect, Color color) {
  brushColor_ = color;
  HBRUSH brush = CreateSolidBrush(colorToRGB(color));
  FillRect(dc_, &rect, brush);
  DeleteObject(brush);
}

void Canvas::frameRect(const RECT& rect, Color color) {
  HBRUSH brush = CreateSolidBrush(colorToRGB(color));
  FrameRect(dc_, &rect, brush);
  DeleteObject(brush);
}

void Canvas::rectangle(int left, int top, int right, int bottom) {
  Rectangle(dc_, left, top, right, bottom);
}

void Canvas::roundRect(int left, int top, int right, int bottom, int cx, int cy) {
  RoundRect(dc_, left, top, right, bottom, cx, cy);
}

void Canvas::ellipse(int left, int top, int right, int bottom) {
  Ellipse(dc_, left, top, right, bottom);
}

void Canvas::moveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }
void Canvas::lineTo(int x, int y) { LineTo(dc_, x, y); }

void Canvas::line(int x1, int y1, int x2, int y2) {
  moveTo(x1, y1);
  lineTo(x2, y2);
}

void Canvas::polyline(const std::vector<POINT>& points) {
  if (points.empty()) return;
  moveTo(points[0].x, points[0].y);
  for (size_t i = 1; i < points.size(); ++i) lineTo(points[i].x, points[i].y);
}

COLORREF Canvas::pixel(int x, int y) const { return GetPixel(dc_, x, y); }
void Canvas::setPixel(int x, int y, COLORREF color) { SetPixel(dc_, x, y, color); }

SIZE Canvas::textExtent(const std::string& text) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void Canvas::drawText(const std::string& text, RECT* rect, UINT format) {
  DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), rect, format);
}

void Canvas::drawTextEx(const std::string& text, RECT* rect, UINT format) {
  std::string copy = text;  // the call may write into the text it is given
  copy.push_back('\0');
  DrawTextExA(dc_, &copy[0], static_cast<int>(text.size()), rect, format, nullptr);
}

void Canvas::textRect(const RECT& rect, int x, int y, const std::string& text, UINT options) {
  ExtTextOutA(dc_, x, y, ETO_CLIPPED | options, &rect, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
}

void Canvas::textOut(int x, int y, const std::string& text) {
  TextOutA(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace frt
