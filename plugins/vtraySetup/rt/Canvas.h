// A drawing surface over a layer device context: pen, brush and font set by colour and kept
// selected until changed, with Win32's pixel rules (shapes exclude their right/bottom edge).
#pragma once

#include <string>
#include <vector>

#include "plugins/vtraySetup/rt/Colors.h"
#include "plugins/vtraySetup/rt/FontStyle.h"
#include "platform/win32.h"

namespace frt {

class Canvas {
 public:
  // Draws on dc; when release is set the canvas gives the context back to window at the end.
  explicit Canvas(HDC dc, HWND window = nullptr, bool release = false);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // A canvas on a window's device context, released when the canvas goes.
  static Canvas* forWindow(HWND window);

  HDC handle() const { return dc_; }
  void setPen(Color color);
  void setBrush(Color color);
  void setHollowBrush();  // keeps the brush colour
  // The brush's colour: the last set, or the last a fill painted with (white at first).
  Color brushColor() const { return brushColor_; }
  void setFont(const FontStyle& font);
  void setTextColor(Color color);
  void setTransparentText();

  void fillRect(const RECT& rect, Color color);
  void frameRect(const RECT& rect, Color color);  // one pixel inside rect
  void rectangle(int left, int top, int right, int bottom);
  void rectangle(const RECT& rect) { rectangle(rect.left, rect.top, rect.right, rect.bottom); }
  void roundRect(int left, int top, int right, int bottom, int cx, int cy);
  void ellipse(int left, int top, int right, int bottom);
  void moveTo(int x, int y);
  void lineTo(int x, int y);
  void line(int x1, int y1, int x2, int y2);
  void polyline(const std::vector<POINT>& points);
  COLORREF pixel(int x, int y) const;
  void setPixel(int x, int y, COLORREF color);

  SIZE textExtent(const std::string& text);
  int textHeight(const std::string& text) { return textExtent(text).cy; }
  int textWidth(const std::string& text) { return textExtent(text).cx; }
  void drawText(const std::string& text, RECT* rect, UINT format);
  // DrawTextExA with the default tab length.
  void drawTextEx(const std::string& text, RECT* rect, UINT format);
  // The text at (x, y), clipped to rect; options adds ETO_ flags such as ETO_RTLREADING.
  void textRect(const RECT& rect, int x, int y, const std::string& text, UINT options = 0);
  void textOut(int x, int y, const std::string& text);

 private:
  void replace(HGDIOBJ* held, HGDIOBJ made);

  HDC dc_;
  HWND window_;
  bool release_;
  HGDIOBJ pen_ = nullptr;
  HGDIOBJ brush_ = nullptr;
  HGDIOBJ font_ = nullptr;
  Color brushColor_ = clWhite;
};

}  // namespace frt
