// Device contexts: the handle table, window, screen and memory contexts, BeginPaint/EndPaint,
// object selection, colours and modes, and what a context tells about its device.
#include "platform/DeviceContext.h"

#include <QGuiApplication>
#include <QScreen>

#include <memory>

#include "platform/DrawnControls.h"
#include "platform/HandleTable.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

HandleTable<DeviceContext>& contextTable() {
  static auto* instance = new HandleTable<DeviceContext>;
  return *instance;
}

// What GetDC(null) draws into: nothing shows it, it exists so that measuring code can draw.
QImage* screenImage() {
  static QImage* image = new QImage(16, 16, QImage::Format_RGB32);
  return image;
}

void selectBitmap(DeviceContext* context, HBITMAP bitmap) {
  context->bitmap = bitmap;
  context->bitmapRecord = findGdiObject(bitmap);
}

}  // namespace

HDC createContext(DcKind kind, HWND window, bool wholeWindow) {
  ensureApplication();
  auto context = std::make_shared<DeviceContext>();
  context->kind = kind;
  context->window = window;
  int border = kind == DcKind::Window && !wholeWindow ? ownBorderOf(window) : 0;
  context->origin = QPoint(border, border);
  context->font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  context->pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  context->brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  // A memory context starts with a one-pixel bitmap of its own, as on Windows.
  if (kind == DcKind::Memory) selectBitmap(context.get(), CreateCompatibleBitmap(nullptr, 1, 1));
  return reinterpret_cast<HDC>(static_cast<uintptr_t>(contextTable().add(context)));
}

// The context lives until releaseContext: the table holds it.
DeviceContext* contextOf(HDC dc) { return contextTable().find(dc).get(); }

bool releaseContext(HDC dc) { return contextTable().remove(dc) != nullptr; }

QImage* targetOf(DeviceContext* dc) {
  switch (dc->kind) {
    case DcKind::Window:
      return backingImageOf(dc->window);
    case DcKind::Memory:
      return dc->bitmapRecord ? dc->bitmapRecord->image : nullptr;
    case DcKind::Screen:
      break;
  }
  return screenImage();
}

QRect drawableArea(const DeviceContext* dc, const QImage* target) {
  QPoint o = dc->origin;
  return QRect(0, 0, target->width() - 2 * o.x(), target->height() - 2 * o.y());
}

void beginDrawing(DeviceContext* dc, QPainter* painter, QImage* target) {
  if (target == nullptr || target->isNull()) return;
  painter->begin(target);
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->translate(dc->origin);
  QRect clip = drawableArea(dc, target);
  if (dc->painting) {
    const RECT& r = dc->paintRect;
    clip &= QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  if (dc->painting || !dc->origin.isNull()) painter->setClipRect(clip);
}

void finishDrawing(DeviceContext* dc) {
  // Inside BeginPaint the window is shown again once, by EndPaint.
  if (dc->kind == DcKind::Window) noteDrawn(dc->window, dc->painting);
}

QFont fontOf(const DeviceContext* dc) {
  QFont font;
  if (!fontOfHandle(dc->font, &font))
    fontOfHandle(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), &font);
  if (font.pixelSize() <= 0 && font.pointSizeF() > 0)
    font.setPixelSize(qRound(font.pointSizeF() * 96.0 / 72.0));
  return font;
}

bool kindOfObject(HGDIOBJ object, GdiKind* kind) {
  GdiObjectPtr record = findGdiObject(object);
  if (!record) return false;
  *kind = record->kind;
  return true;
}

QColor colorOf(COLORREF color) {
  return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

COLORREF colorRefOf(QRgb rgb) { return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

}  // namespace vornplatform

using namespace vornplatform;

HDC GetDC(HWND hwnd) {
  if (hwnd == nullptr) return createContext(DcKind::Screen, nullptr);
  if (!IsWindow(hwnd)) return nullptr;
  return createContext(DcKind::Window, hwnd);
}

// The whole window, its own border included: (0, 0) is the window's top-left corner.
HDC GetWindowDC(HWND hwnd) {
  if (hwnd == nullptr || !IsWindow(hwnd)) return GetDC(hwnd);
  return createContext(DcKind::Window, hwnd, true);
}

int ReleaseDC(HWND, HDC dc) {
  DeviceContext* context = contextOf(dc);
  if (context == nullptr || context->kind == DcKind::Memory) return 0;
  // Releasing draws nothing: a control measured through its context keeps its own looks.
  if (context->kind == DcKind::Window) backingChanged(context->window);
  return releaseContext(dc) ? 1 : 0;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
  if (paint == nullptr || !IsWindow(hwnd)) return nullptr;
  *paint = PAINTSTRUCT{};
  RECT update{0, 0, 0, 0};
  BOOL erase = FALSE;
  takeUpdateRegion(hwnd, &update, &erase);
  HDC dc = createContext(DcKind::Window, hwnd);
  DeviceContext* context = contextOf(dc);
  context->painting = true;
  context->paintRect = update;
  // The window's procedure erases the background; a zero answer leaves that to the painter.
  if (erase)
    paint->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
  paint->hdc = dc;
  paint->rcPaint = update;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (paint == nullptr) return FALSE;
  DeviceContext* context = contextOf(paint->hdc);
  if (context == nullptr || !context->painting) return FALSE;
  releaseContext(paint->hdc);
  if (IsWindow(hwnd)) backingChanged(hwnd);
  return TRUE;
}

HDC CreateCompatibleDC(HDC dc) {
  if (dc != nullptr && contextOf(dc) == nullptr) return nullptr;
  return createContext(DcKind::Memory, nullptr);
}

BOOL DeleteDC(HDC dc) {
  DeviceContext* context = contextOf(dc);
  if (context == nullptr || context->kind != DcKind::Memory) return FALSE;
  return releaseContext(dc) ? TRUE : FALSE;
}

int GetDeviceCaps(HDC dc, int index) {
  if (contextOf(dc) == nullptr) return 0;
  QScreen* screen = QGuiApplication::primaryScreen();
  QRect geometry = screen == nullptr ? QRect(0, 0, 800, 600) : screen->geometry();
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case HORZRES:
      return geometry.width();
    case VERTRES:
      return geometry.height();
    case BITSPIXEL:
      return displayBitsPerPixel();
    default:
      return 0;
  }
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* context = contextOf(dc);
  if (context == nullptr) return nullptr;
  HGDIOBJ previous = nullptr;
  GdiKind kind;
  if (!kindOfObject(object, &kind)) return nullptr;
  switch (kind) {
    case GdiKind::Font:
      previous = context->font;
      context->font = static_cast<HFONT>(object);
      break;
    case GdiKind::Pen:
      previous = context->pen;
      context->pen = static_cast<HPEN>(object);
      break;
    case GdiKind::Brush:
      previous = context->brush;
      context->brush = static_cast<HBRUSH>(object);
      break;
    case GdiKind::Bitmap:
      // Only a memory context holds a bitmap.
      if (context->kind != DcKind::Memory) return nullptr;
      previous = context->bitmap;
      selectBitmap(context, static_cast<HBITMAP>(object));
      break;
  }
  return previous;
}

namespace {

using ColorField = COLORREF DeviceContext::*;

// Sets the text or background colour of a context; returns the one it replaces.
COLORREF swapColor(HDC dc, ColorField field, COLORREF color) {
  DeviceContext* context = contextOf(dc);
  if (context == nullptr) return CLR_INVALID;
  COLORREF previous = context->*field;
  context->*field = color & 0xFFFFFF;
  return previous;
}

COLORREF colorOfContext(HDC dc, ColorField field) {
  DeviceContext* context = contextOf(dc);
  return context == nullptr ? CLR_INVALID : context->*field;
}

}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) {
  return swapColor(dc, &DeviceContext::textColor, color);
}

COLORREF GetTextColor(HDC dc) { return colorOfContext(dc, &DeviceContext::textColor); }

COLORREF SetBkColor(HDC dc, COLORREF color) {
  return swapColor(dc, &DeviceContext::bkColor, color);
}

COLORREF GetBkColor(HDC dc) { return colorOfContext(dc, &DeviceContext::bkColor); }

int SetBkMode(HDC dc, int mode) {
  DeviceContext* context = contextOf(dc);
  if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = context->bkMode;
  context->bkMode = mode;
  return previous;
}
