// The font keeps its own copy of the face; the dialogs go through the platform's common
// dialogs with no owner window.
#include "lib/Font.h"
#include "lib/TextCopy.h"

#include <cstring>

namespace {

// The dialog's custom colours, kept between calls; black at first.
COLORREF customColours[16];

}  // namespace

Font::Font(const char* face, int size)
    : refCount(0), face(copyTextOrEmpty(face)), size(size), style(0), ownerReleased(0) {}

Font::~Font() { delete[] face; }

bool Font::chooseFont() {
  LOGFONTA logFont = {};
  strncpy(logFont.lfFaceName, getFace(), LF_FACESIZE - 1);
  int bits = getStyle();
  logFont.lfItalic = (bits & Italic) ? 1 : 0;
  logFont.lfUnderline = (bits & Underline) ? 1 : 0;
  logFont.lfWeight = (bits & Bold) ? 700 : 0;
  HDC screen = GetDC(nullptr);
  logFont.lfHeight = -MulDiv(getSize(), GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);

  CHOOSEFONTA request = {};
  request.lStructSize = sizeof(request);
  request.hwndOwner = nullptr;
  request.lpLogFont = &logFont;
  request.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_ANSIONLY;
  if (!ChooseFontA(&request)) return false;

  logFont.lfFaceName[LF_FACESIZE - 1] = '\0';  // the dialog's answer is not trusted to end
  setFace(logFont.lfFaceName);
  setSize(request.iPointSize / 10);
  int chosen = 0;
  if (logFont.lfUnderline) chosen += Underline;
  if (logFont.lfWeight >= 700) chosen += Bold;
  if (logFont.lfItalic) chosen += Italic;
  setStyle(chosen);
  return true;
}

const char* Font::getFace() { return face; }

int Font::getSize() { return size; }

int Font::getStyle() { return style; }

void Font::setFace(const char* text) {
  char* copy = copyTextOrEmpty(text);  // before freeing: the text may be our own face
  delete[] face;
  face = copy;
}

void Font::setStyle(int bits) { style = bits; }

void Font::setSize(int points) { size = points; }

Font* Font::addRef() {
  ++refCount;
  return this;
}

int Font::release() {
  // An unbalanced release must not leave a count that no holder can bring back to 0.
  if (refCount == 0) return 0;
  if (refCount == 1 && ownerReleased) {
    delete this;
    return 0;
  }
  return --refCount;
}

void Font::releaseOwner() {
  ownerReleased = 1;
  if (refCount == 0) delete this;
}

bool chooseColor(ColourTriple* colour) {
  if (!colour) return false;
  CHOOSECOLORA request = {};
  request.lStructSize = sizeof(request);
  request.hwndOwner = nullptr;
  request.rgbResult = RGB(colour->red, colour->green, colour->blue);
  request.lpCustColors = customColours;
  request.Flags = CC_RGBINIT | CC_ANYCOLOR;
  if (!ChooseColorA(&request)) return false;
  colour->red = GetRValue(request.rgbResult);
  colour->green = GetGValue(request.rgbResult);
  colour->blue = GetBValue(request.rgbResult);
  return true;
}
