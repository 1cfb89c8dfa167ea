#include "plugins/vtraySetup/skin/ButtonPainter.h"

#include <algorithm>
#include <memory>

#include "plugins/vtraySetup/skin/CaptionPainter.h"
#include "plugins/vtraySetup/skin/GlyphPainter.h"
#include "plugins/vtraySetup/skin/SkinColors.h"

namespace skin {

namespace {

const int kRestLighten = 16;
const int kHotLighten = 40;

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

RECT sized(int left, int top, SIZE size) {
  return RECT{left, top, left + size.cx, top + size.cy};
}

// The first (or the cell-th) glyph of a strip of numGlyphs, copied into a bitmap of its own.
std::unique_ptr<frt::Bitmap> glyphCell(const frt::Bitmap& strip, int numGlyphs, int cell) {
  int width = strip.width() / ButtonPainter::glyphCount(numGlyphs);
  auto work = std::make_unique<frt::Bitmap>(width, strip.height());
  work->copyFrom(strip, (cell - 1) * width, 0, width, strip.height());
  return work;
}

void faceAndEdge(frt::Canvas& canvas, const ButtonView& view, COLORREF face, COLORREF border,
                 bool edge, bool pressed) {
  const RECT& c = view.client;
  canvas.fillRect(c, view.parentColor);
  canvas.setBrush(face);
  canvas.setPen(lighten(border, 30));
  canvas.roundRect(c.left, c.top, c.right, c.bottom, 4, 4);
  if (!view.enabled || !edge) return;
  canvas.setPen(darken(border, 50));
  if (pressed)
    canvas.polyline({{c.left, c.bottom - 2}, {c.left, c.top + 1}, {c.left + 1, c.top}, {c.right - 1, c.top}});
  else
    canvas.polyline({{c.right - 1, c.top + 1}, {c.right - 1, c.bottom - 2}, {c.right - 2, c.bottom - 1}, {c.left, c.bottom - 1}});
}

void caption(frt::Canvas& canvas, const ButtonView& view, RECT rect, UINT format, bool glow,
             const SkinContext& context) {
  CaptionRequest request;
  request.text = view.caption;
  request.rect = rect;
  request.format = format;
  request.font = view.font;
  request.enabled = view.enabled;
  request.glow = glow;
  CaptionPainter::draw(canvas, request, context);
}

}  // namespace

int ButtonPainter::glyphCount(int numGlyphs) { return std::min(4, std::max(1, numGlyphs)); }

GlyphTextRects ButtonPainter::layout(ButtonLayout layout, SIZE client, SIZE g, SIZE t,
                                     int spacing) {
  int w = client.cx, h = client.cy;
  GlyphTextRects r{};
  switch (layout) {
    case GlyphLeft: {
      r.glyph = sized((w - (spacing + g.cx + t.cx)) / 2, (h - g.cy) / 2, g);
      r.text = sized(r.glyph.left + g.cx + spacing, (h - t.cy) / 2, t);
      break;
    }
    case GlyphRight: {
      int right = (spacing + g.cx + t.cx + w) / 2;
      r.glyph = sized(right - g.cx, (h - g.cy) / 2, g);
      r.text = sized(r.glyph.left - spacing - t.cx, (h - t.cy) / 2, t);
      break;
    }
    case GlyphTop: {
      r.glyph = sized((w - g.cx) / 2, (h - (g.cy + spacing + t.cy)) / 2, g);
      r.text = sized((w - t.cx) / 2, r.glyph.top + g.cy + spacing, t);
      break;
    }
    case GlyphBottom: {
      int bottom = (g.cy + spacing + t.cy + h) / 2;
      r.glyph = sized((w - g.cx) / 2, bottom - g.cy, g);
      r.text = sized((w - t.cx) / 2, r.glyph.top - spacing - t.cy, t);
      break;
    }
  }
  return r;
}

int ButtonPainter::speedCell(int numGlyphs, bool enabled, bool pressed, bool down) {
  int cell = 1;
  if (!enabled && numGlyphs > 1) cell = 2;
  if (pressed && numGlyphs > 2) cell = 3;
  if (down && numGlyphs > 3) cell = 4;
  return cell;
}

void ButtonPainter::pushButton(frt::Canvas& canvas, const ButtonView& view,
                               const ControlState& state, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  bool parentFaced = view.tag == 1000;
  COLORREF face, border;
  if (state.hot) {
    face = lighten(parentFaced ? view.parentColor : frt::colorToRGB(frt::clBtnFace), kHotLighten);
    border = lighten(p.selectionBorder, 60);
  } else {
    face = parentFaced ? lighten(view.parentColor, kRestLighten) : p.iconBack;
    border = state.focused ? lighten(p.selectionBorder, 60) : frt::colorToRGB(frt::clBtnShadow);
  }
  bool pressed = state.spaceDown || (state.leftDown && state.hot);
  faceAndEdge(canvas, view, face, border, true, pressed);
  SIZE extent = CaptionPainter::extent(canvas, view.caption, view.font, view.rightToLeft);
  int w = view.client.right - view.client.left, h = view.client.bottom - view.client.top;
  RECT text = sized((w - extent.cx) / 2, (h - extent.cy) / 2, extent);
  caption(canvas, view, text, DT_CENTER | DT_VCENTER | (view.rightToLeft ? DT_RTLREADING : 0),
          view.isDefault, context);
}

void ButtonPainter::bitButton(frt::Canvas& canvas, const ButtonView& view,
                              const ControlState& state, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  bool parentFaced = (view.tag & 1000) == 1000, frameless = (view.tag & 1001) == 1001;
  bool hot = state.hot || state.spaceDown;
  COLORREF face, border;
  if (hot) {
    face = lighten(parentFaced ? view.parentColor : frt::colorToRGB(frt::clBtnFace), kHotLighten);
    border = lighten(p.selectionBorder, 60);
  } else {
    face = parentFaced ? lighten(view.parentColor, kRestLighten) : p.iconBack;
    border = state.focused ? lighten(p.selectionBorder, 60) : frt::colorToRGB(frt::clBtnShadow);
  }
  if (frameless) border = face;
  bool pressed = state.spaceDown || (state.leftDown && state.hot);
  faceAndEdge(canvas, view, face, border, !frameless, pressed);
  std::unique_ptr<frt::Bitmap> cell;
  SIZE g{0, 0};
  if (view.glyph && view.glyph->width() > 0) {
    cell = glyphCell(*view.glyph, view.numGlyphs, 1);
    g = SIZE{cell->width(), cell->height()};
  }
  SIZE t = CaptionPainter::extent(canvas, view.caption, view.font, view.rightToLeft);
  int spacing = trimmed(view.caption).empty() ? 0 : view.spacing;
  const RECT& c = view.client;
  GlyphTextRects r = layout(view.layout, SIZE{c.right - c.left, c.bottom - c.top}, g, t, spacing);
  GlyphPainter::drawForControl(canvas, cell.get(), r.glyph.left, r.glyph.top, state.hot,
                               state.focused, view.enabled, false, false, context);
  UINT format = DT_CENTER | DT_VCENTER | (view.rightToLeft ? DT_RTLREADING : 0);
  if ((view.tag & 1002) == 1002) {
    r.text = RECT{c.left + 4, c.top + 2, c.right - 4, c.bottom - 2};
    format = DT_VCENTER | (view.rightToLeft ? DT_RIGHT : 0);
  }
  caption(canvas, view, r.text, format, view.isDefault, context);
}

void ButtonPainter::speedButton(frt::Canvas& canvas, const ButtonView& view, ControlState state,
                                const SkinContext& context) {
  const SkinPalette& p = context.palette;
  const RECT& c = view.client;
  if (view.flat && state.hot)
    state.hot = view.cursor.x >= c.left && view.cursor.x <= c.right && view.cursor.y >= c.top &&
                view.cursor.y <= c.bottom;
  bool hot = state.hot, pressed = state.leftDown;
  COLORREF face, border;
  if (hot) {
    COLORREF base = view.tag == 1000 ? view.parentColor : frt::colorToRGB(frt::clBtnFace);
    face = view.flat ? p.selection : lighten(base, kHotLighten);
    border = lighten(p.selectionBorder, 60);
  } else {
    face = view.tag == 1000 ? lighten(view.parentColor, kRestLighten)
                            : (view.flat ? view.parentColor : p.iconBack);
    border = frt::colorToRGB(frt::clBtnShadow);
  }
  if (view.down) face = hot ? p.shade3 : p.shade2, border = p.selectionBorder;
  if (!view.enabled) border = frt::colorToRGB(frt::clBtnShadow);
  if (view.transparent && (view.down || hot)) {
    COLORREF tint = context.bitsPerPixel > 16
                        ? (view.flat ? lighten(p.selection, 20) : lighten(face, 5))
                        : face;
    frt::Bitmap wash(c.right - c.left, c.bottom - c.top);
    wash.fill(tint);
    BitBlt(canvas.handle(), c.left, c.top, wash.width(), wash.height(), wash.dc(), 0, 0, SRCAND);
  }
  if (!view.transparent || view.navButton) canvas.fillRect(c, face);
  bool idleFlat = view.flat && !view.down && !hot;
  canvas.setPen(view.flat && !view.transparent && idleFlat ? face : lighten(border, 30));
  if (view.transparent) canvas.setHollowBrush(); else canvas.setBrush(face);
  if (!(view.transparent && idleFlat)) canvas.rectangle(c);
  if (view.enabled) {
    canvas.setHollowBrush();
    if (view.flat) {
      if (pressed || view.down) {
        canvas.setPen(border);
        canvas.rectangle(c);
        canvas.setPen(darken(border, 50));
        canvas.polyline({{c.left, c.bottom - 1}, {c.left, c.top}, {c.right, c.top}});
      } else if (hot) {
        canvas.setPen(p.selectionBorder);
        canvas.rectangle(c);
      }
    } else {
      canvas.setPen(darken(border, 50));
      if (pressed || view.down)
        canvas.polyline({{c.left, c.bottom - 1}, {c.left, c.top}, {c.right, c.top}});
      else
        canvas.polyline({{c.right - 1, c.top}, {c.right - 1, c.bottom - 1}, {c.left, c.bottom - 1}});
    }
  }
  std::unique_ptr<frt::Bitmap> cell;
  SIZE g{0, 0};
  if (view.glyph && view.glyph->width() > 0) {
    cell = glyphCell(*view.glyph, view.numGlyphs,
                     speedCell(glyphCount(view.numGlyphs), view.enabled, pressed, view.down));
    g = SIZE{cell->width(), cell->height()};
  }
  SIZE t = CaptionPainter::extent(canvas, view.caption, view.font, view.rightToLeft);
  int spacing = view.caption.empty() ? 0 : view.spacing;
  ButtonLayout chosen = view.layout;
  if (view.rightToLeft && chosen == GlyphLeft) chosen = GlyphRight;
  else if (view.rightToLeft && chosen == GlyphRight) chosen = GlyphLeft;
  GlyphTextRects r = layout(chosen, SIZE{c.right - c.left, c.bottom - c.top}, g, t, spacing);
  if (chosen == GlyphLeft) OffsetRect(&r.glyph, 0, -1);
  GlyphPainter::drawForControl(canvas, cell.get(), c.left + r.glyph.left, c.top + r.glyph.top, hot,
                               false, view.enabled, view.down || pressed, false, context);
  OffsetRect(&r.text, c.left, c.top);
  caption(canvas, view, r.text, DT_CENTER | DT_VCENTER | (view.rightToLeft ? DT_RTLREADING : 0),
          false, context);
}

}  // namespace skin
