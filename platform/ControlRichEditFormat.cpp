// Character formats of rich edits: CHARFORMAT2A in and out, the insertion format, the
// default format and the background colour.
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <cstring>

#include <vector>

#include "platform/ControlRichEdit.h"
#include "platform/GdiObjects.h"
#include "platform/TextCodec.h"

namespace vornplatform {
namespace {

const DWORD kKnownMask =
    CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_BACKCOLOR | CFM_FACE | CFM_COLOR | CFM_SIZE;

COLORREF colorRefOf(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// Sizes come in twips (1/20 point) and reach Qt in pixels at 96 per inch, as Windows draws
// them whatever the screen's resolution; the twips asked for are kept beside them, since the
// pixels round them.
const int kTwipsProperty = QTextFormat::UserProperty + 0x7C0;
const char* const kDefaultTwips = "vornDefaultTwips";
const int kLargestTwips = 2048 * 15;

int pixelsOfTwips(LONG twips) {
  long long bounded = std::clamp<long long>(twips, 15, kLargestTwips);
  return static_cast<int>((bounded * 96 + 720) / 1440);
}

void setTwips(QTextCharFormat* format, LONG twips) {
  format->clearProperty(QTextFormat::FontPointSize);
  format->setProperty(QTextFormat::FontPixelSize, pixelsOfTwips(twips));
  format->setProperty(kTwipsProperty, static_cast<int>(std::min<LONG>(twips, kLargestTwips)));
}

// Writes the masked attributes of the record into a Qt format.
void applyRecord(const CHARFORMAT2A& in, QTextCharFormat* out) {
  DWORD mask = in.dwMask;
  if (mask & CFM_BOLD) out->setFontWeight((in.dwEffects & CFE_BOLD) ? QFont::Bold : QFont::Normal);
  if (mask & CFM_ITALIC) out->setFontItalic((in.dwEffects & CFE_ITALIC) != 0);
  if (mask & CFM_UNDERLINE) out->setFontUnderline((in.dwEffects & CFE_UNDERLINE) != 0);
  if (mask & CFM_SIZE && in.yHeight > 0) setTwips(out, in.yHeight);
  if (mask & CFM_FACE) {
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, in.szFaceName, LF_FACESIZE);
    if (face[0]) out->setFontFamilies(QStringList{bytesToQString(face)});
  }
  if (mask & CFM_COLOR) {
    if (in.dwEffects & CFE_AUTOCOLOR) {
      out->clearForeground();
    } else {
      out->setForeground(qColorOf(in.crTextColor));
    }
  }
  if (mask & CFM_BACKCOLOR) {
    if (in.dwEffects & CFE_AUTOBACKCOLOR) {
      out->clearBackground();
    } else {
      out->setBackground(qColorOf(in.crBackColor));
    }
  }
}

// The look of a Qt format with the widget's defaults filled in.
struct Look {
  QString face;
  int twips = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool autoColour = true;
  COLORREF colour = 0;
  bool autoBack = true;
  COLORREF back = 0;
};

// The default format's size: the twips it was given, unless a font set by handle (sized in
// pixels) has replaced it since.
int defaultTwipsOf(const RichEditWidget* edit) {
  QFont base = edit->document()->defaultFont();
  QVariant kept = edit->property(kDefaultTwips);
  if (kept.isValid() && pixelsOfTwips(kept.toInt()) == base.pixelSize()) return kept.toInt();
  if (base.pixelSize() > 0) return base.pixelSize() * 15;
  return static_cast<int>(std::lround(base.pointSizeF() * 20));
}

int twipsOf(const RichEditWidget* edit, const QTextCharFormat& f) {
  if (f.hasProperty(kTwipsProperty)) return f.intProperty(kTwipsProperty);
  if (f.hasProperty(QTextFormat::FontPixelSize))
    return f.intProperty(QTextFormat::FontPixelSize) * 15;
  if (f.hasProperty(QTextFormat::FontPointSize))
    return static_cast<int>(std::lround(f.fontPointSize() * 20));
  return defaultTwipsOf(edit);
}

Look lookOf(const RichEditWidget* edit, const QTextCharFormat& f) {
  Look look;
  QFont base = edit->document()->defaultFont();
  QStringList families = f.fontFamilies().toStringList();
  look.face = families.isEmpty() ? base.family() : families.first();
  look.twips = twipsOf(edit, f);
  look.bold =
      f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() >= QFont::DemiBold : base.bold();
  look.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : base.italic();
  look.underline =
      f.hasProperty(QTextFormat::TextUnderlineStyle) ? f.fontUnderline() : base.underline();
  // Text without a colour of its own is drawn in the default format's colour.
  bool ownColour = f.foreground().style() != Qt::NoBrush;
  look.autoColour = !ownColour && edit->autoColour;
  look.colour =
      colorRefOf(ownColour ? f.foreground().color() : edit->palette().color(QPalette::Text));
  look.autoBack = f.background().style() == Qt::NoBrush;
  look.back =
      colorRefOf(look.autoBack ? edit->palette().color(QPalette::Base) : f.background().color());
  return look;
}

void writeRecord(const Look& look, DWORD mask, CHARFORMAT2A* out) {
  std::memset(reinterpret_cast<char*>(out) + sizeof(UINT), 0, sizeof(CHARFORMAT2A) - sizeof(UINT));
  out->dwMask = mask;
  out->yHeight = look.twips;
  std::string face = qStringToBytes(look.face);
  std::strncpy(out->szFaceName, face.c_str(), LF_FACESIZE - 1);
  out->wWeight = look.bold ? 700 : 400;
  if (look.bold) out->dwEffects |= CFE_BOLD;
  if (look.italic) out->dwEffects |= CFE_ITALIC;
  if (look.underline) out->dwEffects |= CFE_UNDERLINE;
  out->crTextColor = look.colour;
  if (look.autoColour) out->dwEffects |= CFE_AUTOCOLOR;
  out->crBackColor = look.back;
  if (look.autoBack) out->dwEffects |= CFE_AUTOBACKCOLOR;
}

// Clears the mask bits of attributes that differ from the first look.
DWORD consistentMask(const Look& a, const Look& b, DWORD mask) {
  if (a.face != b.face) mask &= ~static_cast<DWORD>(CFM_FACE);
  if (a.twips != b.twips) mask &= ~static_cast<DWORD>(CFM_SIZE);
  if (a.bold != b.bold) mask &= ~static_cast<DWORD>(CFM_BOLD);
  if (a.italic != b.italic) mask &= ~static_cast<DWORD>(CFM_ITALIC);
  if (a.underline != b.underline) mask &= ~static_cast<DWORD>(CFM_UNDERLINE);
  if (a.autoColour != b.autoColour || a.colour != b.colour) mask &= ~static_cast<DWORD>(CFM_COLOR);
  if (a.autoBack != b.autoBack || a.back != b.back) mask &= ~static_cast<DWORD>(CFM_BACKCOLOR);
  return mask;
}

void selectionLook(RichEditWidget* edit, CHARFORMAT2A* out) {
  QTextCursor cursor = edit->selection();
  if (!cursor.hasSelection()) {
    writeRecord(lookOf(edit, edit->insertFormat), kKnownMask, out);
    return;
  }
  int from = cursor.selectionStart();
  int to = cursor.selectionEnd();
  bool first = true;
  Look look;
  DWORD mask = kKnownMask;
  forEachPiece(edit->document(), from, to, [&](const QTextFragment& fragment, int, int) {
    Look next = lookOf(edit, fragment.charFormat());
    if (first) look = next;
    mask = consistentMask(look, next, mask);
    first = false;
  });
  writeRecord(first ? lookOf(edit, edit->insertFormat) : look, mask, out);
}

// The default format: the document's font and the palette's text colour.
void setDefault(RichEditWidget* edit, const CHARFORMAT2A& in) {
  QTextCharFormat f;
  f.setFont(edit->document()->defaultFont());
  applyRecord(in, &f);
  QFont font = edit->document()->defaultFont();
  if (in.dwMask & CFM_FACE && !f.fontFamilies().toStringList().isEmpty()) {
    font.setFamilies(f.fontFamilies().toStringList());
  }
  if (in.dwMask & CFM_SIZE && in.yHeight > 0) {
    font.setPixelSize(pixelsOfTwips(in.yHeight));
    edit->setProperty(kDefaultTwips, static_cast<int>(std::min<LONG>(in.yHeight, kLargestTwips)));
  }
  if (in.dwMask & CFM_BOLD) font.setBold((in.dwEffects & CFE_BOLD) != 0);
  if (in.dwMask & CFM_ITALIC) font.setItalic((in.dwEffects & CFE_ITALIC) != 0);
  if (in.dwMask & CFM_UNDERLINE) font.setUnderline((in.dwEffects & CFE_UNDERLINE) != 0);
  edit->document()->setDefaultFont(font);
  if (in.dwMask & CFM_COLOR) {
    QPalette palette = edit->palette();
    bool automatic = (in.dwEffects & CFE_AUTOCOLOR) != 0;
    edit->autoColour = automatic;
    palette.setColor(QPalette::Text,
                     automatic ? QPalette().color(QPalette::Text) : qColorOf(in.crTextColor));
    edit->setPalette(palette);
  }
}

// Merging cannot remove a colour: automatic colours are cleared piece by piece.
// The pieces are collected first and changed afterwards: changing a format while walking the
// fragments reshapes the very fragments the walk stands on.
void clearAutomatic(RichEditWidget* edit, int from, int to, const CHARFORMAT2A& in) {
  bool text = (in.dwMask & CFM_COLOR) && (in.dwEffects & CFE_AUTOCOLOR);
  bool back = (in.dwMask & CFM_BACKCOLOR) && (in.dwEffects & CFE_AUTOBACKCOLOR);
  if (!text && !back) return;
  struct Piece {
    int begin;
    int end;
    QTextCharFormat format;
  };
  std::vector<Piece> pieces;
  forEachPiece(edit->document(), from, to, [&](const QTextFragment& fragment, int begin, int end) {
    QTextCharFormat format = fragment.charFormat();
    if (text) format.clearForeground();
    if (back) format.clearBackground();
    pieces.push_back({begin, end, format});
  });
  for (const Piece& piece : pieces) {
    QTextCursor cursor(edit->document());
    cursor.setPosition(piece.begin);
    cursor.setPosition(piece.end, QTextCursor::KeepAnchor);
    cursor.setCharFormat(piece.format);
  }
}

void mergeInto(RichEditWidget* edit, QTextCursor& cursor, const CHARFORMAT2A& in) {
  QTextCharFormat f;
  applyRecord(in, &f);
  cursor.mergeCharFormat(f);
  clearAutomatic(edit, cursor.selectionStart(), cursor.selectionEnd(), in);
}

}  // namespace

void setCharFormat(RichEditWidget* edit, WPARAM which, const CHARFORMAT2A& in) {
  edit->formatting = true;
  if (which == SCF_DEFAULT) {
    setDefault(edit, in);
  } else if (which & SCF_ALL) {
    QTextCursor all(edit->document());
    all.select(QTextCursor::Document);
    mergeInto(edit, all, in);
    applyRecord(in, &edit->insertFormat);
    edit->showSelection();  // the typing format belongs to the widget's cursor
    QTextCharFormat typing = edit->currentCharFormat();
    applyRecord(in, &typing);
    edit->setCurrentCharFormat(typing);
    if (edit->plainText) setDefault(edit, in);  // formats apply to the whole text
  } else {
    QTextCursor cursor = edit->selection();
    if (cursor.hasSelection()) {
      edit->beforeChangeAt(cursor.selectionStart());
      edit->deferLayout();
      edit->markEdited();
      mergeInto(edit, cursor, in);
    } else {
      applyRecord(in, &edit->insertFormat);
    }
  }
  edit->formatting = false;
}

void getCharFormat(RichEditWidget* edit, WPARAM which, CHARFORMAT2A* out) {
  if (which == SCF_DEFAULT) {
    writeRecord(lookOf(edit, QTextCharFormat()), kKnownMask, out);
    return;
  }
  selectionLook(edit, out);
}

void describeFormat(RichEditWidget* edit, const QTextCharFormat& format, CHARFORMAT2A* out) {
  writeRecord(lookOf(edit, format), kKnownMask, out);
}

COLORREF setBackgroundColour(RichEditWidget* edit, bool useSystem, COLORREF colour) {
  QPalette palette = edit->palette();
  COLORREF old = colorRefOf(palette.color(QPalette::Base));
  QColor next = useSystem ? QColor(Qt::white) : qColorOf(colour);
  // A new palette repaints the pane and its children: the same colour again changes nothing.
  if (palette.color(QPalette::Base) == next &&
      edit->viewport()->palette().color(QPalette::Base) == next)
    return old;
  palette.setColor(QPalette::Base, next);
  edit->setPalette(palette);
  edit->viewport()->setPalette(palette);
  return old;
}

}  // namespace vornplatform
