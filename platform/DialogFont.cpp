// ChooseFontA over QFontDialog: the LOGFONTA and point size in tenths go in as the dialog's
// initial font and come back from the chosen one, at 96 pixels per inch. The dialog lists the
// installed families only, so it opens on the family that draws the caller's face, and hands
// the caller's face back when the person kept that family.
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "platform/DialogHooks.h"
#include "platform/ModalLoops.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

const int kScreenDpi = 96;

using vorntest::FontChoice;

// The face of a LOGFONTA, which need not be terminated within its array.
std::string faceOf(const LOGFONTA& font) {
  const char* face = font.lfFaceName;
  return std::string(face, strnlen(face, LF_FACESIZE));
}

// The font the dialog starts on: the caller's LOGFONTA when asked to, else Qt's default.
FontChoice initialChoice(const CHOOSEFONTA& choose) {
  FontChoice choice;
  choice.colour = choose.rgbColors;
  if (!(choose.Flags & CF_INITTOLOGFONTSTRUCT) || choose.lpLogFont == nullptr) {
    QFont standard;
    choice.face = qStringToBytes(standard.family());
    choice.pointSize = standard.pointSize() > 0 ? standard.pointSize() * 10 : 100;
    return choice;
  }
  const LOGFONTA& font = *choose.lpLogFont;
  choice.face = faceOf(font);
  // A height in pixels (negative: character height; positive: cell height, taken alike).
  int pixels = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
  if (pixels != 0)
    choice.pointSize = MulDiv(pixels, 72, kScreenDpi) * 10;
  else if (choose.iPointSize > 0)
    choice.pointSize = choose.iPointSize;
  choice.weight = font.lfWeight == FW_DONTCARE ? FW_NORMAL : font.lfWeight;
  choice.italic = font.lfItalic != 0;
  choice.underline = font.lfUnderline != 0;
  choice.strikeOut = font.lfStrikeOut != 0;
  return choice;
}

QFont toQFont(const FontChoice& choice) {
  QFont font(bytesToQString(choice.face));
  font.setPointSizeF(std::max(choice.pointSize, 10) / 10.0);
  font.setWeight(static_cast<QFont::Weight>(std::clamp(choice.weight, 1, 1000)));
  font.setItalic(choice.italic);
  font.setUnderline(choice.underline);
  font.setStrikeOut(choice.strikeOut);
  return font;
}

FontChoice fromQFont(const QFont& font, COLORREF colour) {
  FontChoice choice;
  choice.face = qStringToBytes(font.family());
  choice.pointSize = static_cast<int>(font.pointSizeF() * 10 + 0.5);
  choice.weight = font.weight();
  choice.italic = font.italic();
  choice.underline = font.underline();
  choice.strikeOut = font.strikeOut();
  choice.colour = colour;
  return choice;
}

// Qt names a family that several foundries make "Family [Foundry]"; a face name carries no tag.
std::string withoutFoundry(const std::string& face) {
  size_t open = face.rfind(" [");
  if (open == std::string::npos || face.back() != ']') return face;
  return face.substr(0, open);
}

// The installed family that draws the face: the face itself, or the substitute the layer maps
// a Windows face to, or Qt's fallback.
std::string drawnFamily(const FontChoice& choice) {
  return withoutFoundry(qStringToBytes(QFontInfo(toQFont(choice)).family()));
}

// The face to hand back: the caller's own name while the family it draws with was kept.
std::string chosenFace(const std::string& chosen, const std::string& shown,
                       const std::string& requested) {
  std::string face = withoutFoundry(chosen);
  return strcasecmp(face.c_str(), shown.c_str()) == 0 ? requested : face;
}

// The family's own style nearest to the weight and slant asked for. The dialog finds a style
// by its name, and a regular face's name is seldom the standard one ("Book", "Roman"): left
// to itself it would take the family's first style, an oblique one as often as not.
QString nearestStyle(const QString& family, int weight, bool italic) {
  QString best;
  int bestScore = INT_MAX;
  for (const QString& style : QFontDatabase::styles(family)) {
    QFont face = QFontDatabase::font(family, style, 10);
    int score = std::abs(face.weight() - weight) + (face.italic() != italic ? 1000 : 0);
    if (score < bestScore) {
      best = style;
      bestScore = score;
    }
  }
  return best;
}

// Copies a UTF-8 face into the record, cut at a character boundary so it stays valid text.
void copyFace(const std::string& face, char* out) {
  size_t length = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
  while (length > 0 && length < face.size() && (face[length] & 0xC0) == 0x80) --length;
  std::memcpy(out, face.data(), length);
  std::memset(out + length, 0, LF_FACESIZE - length);
}

// Writes the chosen font back. Without CF_EFFECTS the dialog offers no effects or colour, so
// underline, strike-out and colour stay as they started.
void fillRecord(CHOOSEFONTA* choose, FontChoice chosen, const FontChoice& initial) {
  if (!(choose->Flags & CF_EFFECTS)) {
    chosen.underline = initial.underline;
    chosen.strikeOut = initial.strikeOut;
    chosen.colour = initial.colour;
  }
  if ((choose->Flags & CF_LIMITSIZE) && choose->nSizeMax >= choose->nSizeMin)
    chosen.pointSize = std::clamp(chosen.pointSize, choose->nSizeMin * 10, choose->nSizeMax * 10);
  choose->iPointSize = chosen.pointSize;
  choose->rgbColors = chosen.colour;
  choose->nFontType = static_cast<WORD>(
      SCREEN_FONTTYPE | (chosen.weight >= FW_BOLD ? BOLD_FONTTYPE : REGULAR_FONTTYPE) |
      (chosen.italic ? ITALIC_FONTTYPE : 0));
  LOGFONTA& font = *choose->lpLogFont;
  BYTE charSet = (choose->Flags & CF_INITTOLOGFONTSTRUCT) ? font.lfCharSet : DEFAULT_CHARSET;
  std::memset(&font, 0, sizeof font);
  font.lfHeight = -MulDiv(chosen.pointSize, kScreenDpi, 720);
  font.lfWeight = chosen.weight;
  font.lfItalic = chosen.italic;
  font.lfUnderline = chosen.underline;
  font.lfStrikeOut = chosen.strikeOut;
  font.lfCharSet = charSet;
  copyFace(chosen.face, font.lfFaceName);
}

bool showFontDialog(HWND owner, const CHOOSEFONTA& choose, const FontChoice& initial,
                    FontChoice* chosen) {
  bool accepted = false;
  runOnGuiThread([&]() {
    QWidget* parent = owner == nullptr ? nullptr : topLevelWidgetOf(owner);
    QFont start = toQFont(initial);
    start.setStyleName(nearestStyle(start.family(), initial.weight, initial.italic));
    QFontDialog dialog(start, parent);
    if (choose.Flags & CF_FIXEDPITCHONLY) dialog.setOption(QFontDialog::MonospacedFonts);
    accepted = runDialog(dialog, parent == nullptr);
    if (accepted) *chosen = fromQFont(dialog.selectedFont(), initial.colour);
  });
  return accepted;
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

BOOL ChooseFontA(LPCHOOSEFONTA choose) {
  if (choose == nullptr || choose->lpLogFont == nullptr) {
    setDialogError(CDERR_INITIALIZATION);
    return FALSE;
  }
  setDialogError(0);
  HWND owner = IsWindow(choose->hwndOwner) ? choose->hwndOwner : nullptr;
  // What the dialog shows goes through Qt's font, as a person would see it.
  ensureApplication();
  FontChoice requested = initialChoice(*choose);
  FontChoice initial = fromQFont(toQFont(requested), choose->rgbColors);
  initial.face = drawnFamily(requested);
  vorntest::ShownFontDialog shown{owner, choose->Flags, initial, false, false};
  FontChoice chosen;
  bool ending = endingRequested();
  Prepared prepared = ending ? Prepared::None : takeFontAnswer(&chosen);
  shown.prepared = prepared != Prepared::None;
  if (prepared == Prepared::Unchanged) chosen = initial;
  if (prepared == Prepared::Answer) chosen = fromQFont(toQFont(chosen), chosen.colour);
  if (prepared == Prepared::None && !ending && !offscreenPlatform())
    shown.confirmed = showFontDialog(owner, *choose, initial, &chosen);
  else
    shown.confirmed = prepared == Prepared::Answer || prepared == Prepared::Unchanged;
  recordFontDialog(shown);
  if (!shown.confirmed) return FALSE;
  chosen.face = chosenFace(chosen.face, initial.face, requested.face);
  fillRecord(choose, chosen, initial);
  return TRUE;
}
