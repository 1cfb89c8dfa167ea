// Drawing objects behind GDI handles: stock objects, created fonts, pens, brushes and bitmaps.
#include "platform/GdiObjects.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/HandleTable.h"
#include "platform/Regions.h"
#include "platform/WindowAccess.h"

namespace vornplatform {
namespace {

// Handle values below this are system colour indexes + 1 used as class backgrounds.
const uintptr_t kSysColorBrushLimit = 32;

struct GdiTable {
  HandleTable<GdiObject> objects;
  std::mutex lock;                      // guards the two maps below
  std::map<int, HGDIOBJ> stock;         // stock index -> handle
  std::map<int, HGDIOBJ> colorBrushes;  // system colour index -> handle
};

GdiTable& table() {
  static GdiTable* instance = new GdiTable;
  return *instance;
}

HGDIOBJ addObject(const GdiObjectPtr& object) {
  return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(table().objects.add(object)));
}

LOGFONTA makeLogFont(LONG height, LONG weight, BYTE pitchAndFamily, const char* face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = pitchAndFamily;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

GdiObjectPtr makeFont(const LOGFONTA& lf) {
  ensureApplication();
  auto object = std::make_shared<GdiObject>();
  object->kind = GdiKind::Font;
  object->logFont = lf;
  object->logFont.lfFaceName[LF_FACESIZE - 1] = 0;
  object->font = fontFromLogFont(object->logFont);
  return object;
}

GdiObjectPtr makePen(int style, int width, COLORREF color) {
  auto object = std::make_shared<GdiObject>();
  object->kind = GdiKind::Pen;
  object->penStyle = style;
  object->penWidth = width;
  object->color = color;
  static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                        Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
  Qt::PenStyle qtStyle = style >= 0 && style <= PS_NULL ? styles[style] : Qt::SolidLine;
  object->pen =
      QPen(QBrush(qColorOf(color)), width < 1 ? 1 : width, qtStyle, Qt::SquareCap, Qt::MiterJoin);
  if (qtStyle == Qt::NoPen) object->pen = QPen(Qt::NoPen);
  return object;
}

GdiObjectPtr makeBrush(COLORREF color, bool hollow) {
  auto object = std::make_shared<GdiObject>();
  object->kind = GdiKind::Brush;
  object->color = color;
  object->brush = hollow ? QBrush(Qt::NoBrush) : QBrush(qColorOf(color));
  return object;
}

GdiObjectPtr makeStock(int index) {
  switch (index) {
    case WHITE_BRUSH:
      return makeBrush(RGB(255, 255, 255), false);
    case LTGRAY_BRUSH:
      return makeBrush(RGB(192, 192, 192), false);
    case GRAY_BRUSH:
      return makeBrush(RGB(128, 128, 128), false);
    case DKGRAY_BRUSH:
      return makeBrush(RGB(64, 64, 64), false);
    case BLACK_BRUSH:
      return makeBrush(RGB(0, 0, 0), false);
    case NULL_BRUSH:
      return makeBrush(0, true);
    case WHITE_PEN:
      return makePen(PS_SOLID, 1, RGB(255, 255, 255));
    case BLACK_PEN:
      return makePen(PS_SOLID, 1, RGB(0, 0, 0));
    case NULL_PEN:
      return makePen(PS_NULL, 1, 0);
    case OEM_FIXED_FONT:
      return makeFont(makeLogFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal"));
    case ANSI_FIXED_FONT:
      return makeFont(makeLogFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier"));
    case SYSTEM_FIXED_FONT:
      return makeFont(makeLogFont(15, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys"));
    case ANSI_VAR_FONT:
      return makeFont(makeLogFont(12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
      return makeFont(makeLogFont(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"));
    case DEFAULT_GUI_FONT:
      return makeFont(guiLogFont());
    default:
      return GdiObjectPtr();
  }
}

}  // namespace

GdiObjectPtr findGdiObject(HGDIOBJ handle) { return table().objects.find(handle); }

QColor qColorOf(COLORREF color) {
  return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

COLORREF systemColor(int index) {
  switch (index) {
    case COLOR_SCROLLBAR:
      return RGB(200, 200, 200);
    case COLOR_BACKGROUND:
      return RGB(0, 0, 0);
    case COLOR_ACTIVECAPTION:
      return RGB(153, 180, 209);
    case COLOR_INACTIVECAPTION:
      return RGB(191, 205, 219);
    case COLOR_WINDOW:
      return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME:
      return RGB(100, 100, 100);
    case COLOR_HIGHLIGHT:
      return RGB(0, 120, 215);
    case COLOR_HIGHLIGHTTEXT:
      return RGB(255, 255, 255);
    case COLOR_MENU:
    case COLOR_BTNFACE:
      return RGB(240, 240, 240);
    case COLOR_BTNSHADOW:
      return RGB(160, 160, 160);
    case COLOR_GRAYTEXT:
      return RGB(109, 109, 109);
    case COLOR_BTNHIGHLIGHT:
      return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW:
      return RGB(105, 105, 105);
    case COLOR_3DLIGHT:
      return RGB(227, 227, 227);
    case COLOR_INFOBK:
      return RGB(255, 255, 225);
    default:
      return RGB(0, 0, 0);  // the text colours and anything unknown
  }
}

bool brushOfHandle(HBRUSH handle, QBrush* out) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if (value > 0 && value < kSysColorBrushLimit) {
    *out = QBrush(qColorOf(systemColor(static_cast<int>(value) - 1)));
    return true;
  }
  GdiObjectPtr object = findGdiObject(handle);
  if (!object || object->kind != GdiKind::Brush) return false;
  *out = object->brush;
  return true;
}

namespace {

const int kLargestPixelSize = 2048;  // sizes come from settings files too

// The face Windows takes when the record names none: by pitch, then by family.
QString defaultFaceOf(BYTE pitchAndFamily) {
  int family = pitchAndFamily & 0xF0;
  if ((pitchAndFamily & 0x03) == FIXED_PITCH || family == FF_MODERN) return "Courier New";
  if (family == FF_ROMAN) return "Times New Roman";
  return "Arial";
}

// A negative height is the character (em) height in pixels, a positive one the cell height:
// ascent and descent together, as the face at hand makes them.
int pixelSizeOf(const QFont& font, LONG height) {
  if (height == 0) return 12;
  if (height < 0)
    return static_cast<int>(
        std::min<long long>(-static_cast<long long>(height), kLargestPixelSize));
  QFont probe(font);
  probe.setPixelSize(100);
  QFontMetricsF metrics(probe);
  qreal cell = metrics.ascent() + metrics.descent();
  long long pixels = cell > 0 ? qRound64(height * 100.0 / cell) : height;
  return static_cast<int>(std::clamp<long long>(pixels, 1, kLargestPixelSize));
}

}  // namespace

LOGFONTA guiLogFont() {
  return makeLogFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg");
}

QFont fontFromLogFont(const LOGFONTA& lf) {
  QFont font;
  char face[LF_FACESIZE + 1] = {};
  std::memcpy(face, lf.lfFaceName, LF_FACESIZE);
  font.setFamily(face[0] ? QString::fromLatin1(face) : defaultFaceOf(lf.lfPitchAndFamily));
  int family = lf.lfPitchAndFamily & 0xF0;
  if ((lf.lfPitchAndFamily & 0x03) == FIXED_PITCH || family == FF_MODERN) {
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
  } else if (family == FF_ROMAN) {
    font.setStyleHint(QFont::Serif);
  } else if (family == FF_SWISS) {
    font.setStyleHint(QFont::SansSerif);
  }
  font.setPixelSize(pixelSizeOf(font, lf.lfHeight));
  if (lf.lfWeight > 0)
    font.setWeight(static_cast<QFont::Weight>(lf.lfWeight < 1000 ? lf.lfWeight : 1000));
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  return font;
}

bool fontOfHandle(HFONT handle, QFont* out) {
  GdiObjectPtr object = findGdiObject(handle);
  if (!object || object->kind != GdiKind::Font) return false;
  *out = object->font;
  return true;
}

}  // namespace vornplatform

using namespace vornplatform;

HGDIOBJ GetStockObject(int index) {
  GdiTable& t = table();
  {
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.stock.find(index);
    if (it != t.stock.end()) return it->second;
  }
  GdiObjectPtr object = makeStock(index);
  if (!object) return nullptr;
  object->stock = true;
  HGDIOBJ handle = addObject(object);
  std::lock_guard<std::mutex> guard(t.lock);
  auto inserted = t.stock.emplace(index, handle);
  if (!inserted.second) t.objects.remove(handle);  // another thread was first
  return inserted.first->second;
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index > COLOR_INFOBK) return nullptr;
  GdiTable& t = table();
  {
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.colorBrushes.find(index);
    if (it != t.colorBrushes.end()) return static_cast<HBRUSH>(it->second);
  }
  GdiObjectPtr object = makeBrush(systemColor(index), false);
  object->stock = true;
  HGDIOBJ handle = addObject(object);
  std::lock_guard<std::mutex> guard(t.lock);
  auto inserted = t.colorBrushes.emplace(index, handle);
  if (!inserted.second) t.objects.remove(handle);
  return static_cast<HBRUSH>(inserted.first->second);
}

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (!font) return nullptr;
  return static_cast<HFONT>(addObject(makeFont(*font)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONTA lf =
      makeLogFont(height, weight, static_cast<BYTE>(pitchAndFamily), faceName ? faceName : "");
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfItalic = italic ? 1 : 0;
  lf.lfUnderline = underline ? 1 : 0;
  lf.lfStrikeOut = strikeOut ? 1 : 0;
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  return CreateFontIndirectA(&lf);
}

HPEN CreatePen(int style, int width, COLORREF color) {
  return static_cast<HPEN>(addObject(makePen(style, width, color)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(addObject(makeBrush(color, false)));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  auto object = std::make_shared<GdiObject>();
  object->kind = GdiKind::Bitmap;
  object->image = new QImage(width > 0 ? width : 1, height > 0 ? height : 1, QImage::Format_RGB32);
  object->image->fill(Qt::black);
  return static_cast<HBITMAP>(addObject(object));
}

namespace vornplatform {

HBITMAP bitmapFromImage(const QImage& image) {
  auto object = std::make_shared<GdiObject>();
  object->kind = GdiKind::Bitmap;
  object->image = new QImage(image.convertToFormat(QImage::Format_RGB32));
  return static_cast<HBITMAP>(addObject(object));
}

QImage takeBitmapImage(HBITMAP bitmap) {
  GdiObjectPtr record = findGdiObject(bitmap);
  QImage picture = record && record->image ? record->image->copy() : QImage();
  DeleteObject(bitmap);
  return picture;
}

}  // namespace vornplatform

BOOL DeleteObject(HGDIOBJ handle) {
  if (deleteRegion(handle)) return TRUE;
  GdiObjectPtr object = findGdiObject(handle);
  if (!object) return FALSE;
  if (!object->stock) table().objects.remove(handle);
  return TRUE;
}

int GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
  GdiObjectPtr object = findGdiObject(handle);
  if (!object) return 0;
  if (object->kind == GdiKind::Font) {
    if (!buffer) return sizeof(LOGFONTA);
    int n = size < static_cast<int>(sizeof(LOGFONTA)) ? size : static_cast<int>(sizeof(LOGFONTA));
    if (n <= 0) return 0;
    std::memcpy(buffer, &object->logFont, n);
    return n;
  }
  if (object->kind == GdiKind::Bitmap && object->image) {
    const QImage& image = *object->image;
    BITMAP bm{0, image.width(), image.height(), image.width() * 4, 1, 32, nullptr};
    if (!buffer) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    std::memcpy(buffer, &bm, sizeof bm);
    return sizeof bm;
  }
  if (object->kind == GdiKind::Brush) {
    LOGBRUSH lb{object->brush.style() == Qt::NoBrush ? static_cast<UINT>(BS_NULL)
                                                     : static_cast<UINT>(BS_SOLID),
                object->color, 0};
    if (!buffer) return sizeof(LOGBRUSH);
    if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
    std::memcpy(buffer, &lb, sizeof lb);
    return sizeof lb;
  }
  return 0;
}
