#include "plugins/vtraySetup/skin/MenuPainter.h"

#include <algorithm>

#include "plugins/vtraySetup/rt/Menu.h"
#include "plugins/vtraySetup/skin/GlyphPainter.h"
#include "plugins/vtraySetup/skin/SkinColors.h"

namespace skin {

namespace {

bool hasAccelerator(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return true;
    ++i;
  }
  return false;
}

RECT mirrored(const RECT& part, const RECT& whole, bool rightToLeft) {
  if (!rightToLeft) return part;
  return RECT{whole.right - (part.right - whole.left), part.top,
              whole.right - (part.left - whole.left), part.bottom};
}

}  // namespace

int MenuPainter::stripWidth(const frt::MenuItem& item, const SkinContext& context) {
  const frt::Bitmap* glyph = item.glyph();
  int wide = glyph ? glyph->width() + 4 : 0;
  return std::max(context.iconWidth, wide);
}

SIZE MenuPainter::measure(frt::Canvas& canvas, const frt::MenuItem& item, bool onBar,
                          const SkinContext& context) {
  if (item.isLine()) return SIZE{0, 4};
  canvas.setFont(context.font);
  std::string text = item.caption;
  if (!item.shortCut.empty()) text += "WWW" + item.shortCut;
  SIZE extent = canvas.textExtent(text);
  int width = extent.cx + 5;
  if (hasAccelerator(item.caption)) width -= canvas.textWidth("&");
  if (!onBar && item.subItemCount() > 0) width += 6;
  const frt::Bitmap* glyph = item.glyph();
  int glyphWidth = glyph ? glyph->width() : 0;
  width += onBar ? glyphWidth : std::max(glyphWidth, context.iconWidth);
  int height = extent.cy + roundHalfEven(0.75 * extent.cy);
  if (glyph) height = std::max(height, static_cast<int>(glyph->height()) + 6);
  return SIZE{width, height};
}

namespace {

// With the bar drawn in its own colour, the last item carries that colour on to the client
// width + 5, so the bar behind the items matches them; 0 for every other item.
int barTail(const frt::MenuItem& item, const RECT& rect) {
  auto* bar = dynamic_cast<frt::MainMenu*>(item.menu());
  if (bar == nullptr || bar->window() == nullptr || bar->items().empty()) return 0;
  if (bar->items().back() != &item) return 0;
  RECT client;
  if (!GetClientRect(bar->window(), &client)) return 0;
  return std::max(0, static_cast<int>(client.right) + 5 - static_cast<int>(rect.right));
}

}  // namespace

void MenuPainter::draw(frt::Canvas& canvas, const RECT& rect, const frt::MenuItem& item,
                       const MenuItemState& state, const SkinContext& context) {
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  int tail = state.onBar && context.drawMenuBar ? barTail(item, rect) : 0;
  frt::Bitmap work(w + tail, h);
  RECT local{0, 0, w, h};
  if (tail > 0) work.canvas().fillRect(RECT{w, 0, w + tail, h}, context.palette.menuBar);
  if (state.onBar) drawBar(work.canvas(), local, item, state, context);
  else drawPopup(work.canvas(), local, item, state, context);
  BitBlt(canvas.handle(), rect.left, rect.top, w + tail, h, work.dc(), 0, 0, SRCCOPY);
}

void MenuPainter::drawBar(frt::Canvas& canvas, const RECT& r, const frt::MenuItem& item,
                          const MenuItemState& state, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  COLORREF bar = context.drawMenuBar ? p.menuBar : frt::colorToRGB(frt::clBtnFace);
  canvas.fillRect(r, bar);
  if (state.selected && item.enabled) {
    RECT box{r.left, r.top, r.right - 2, r.bottom};
    canvas.fillRect(box, p.selection);
    canvas.frameRect(box, p.selectionBorder);
    // The shadow strip on the right, shaded from the bar colour.
    canvas.fillRect(RECT{r.right - 2, r.top + 2, r.right, r.bottom}, darken(bar, 70));
  }
  RECT text = r;
  drawCaption(canvas, text, item, state, context);
}

void MenuPainter::drawPopup(frt::Canvas& canvas, const RECT& r, const frt::MenuItem& item,
                            const MenuItemState& state, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  canvas.fillRect(r, p.menu);
  int strip = stripWidth(item, context);
  RECT stripRect = mirrored(RECT{r.left, r.top, r.left + strip, r.bottom}, r, state.rightToLeft);
  if (context.gradient && context.deep()) {
    int percent = 0;
    for (int x = 0; x < r.right - r.left && percent <= 96; ++x) {
      RECT column = mirrored(RECT{r.left + x, r.top, r.left + x + 1, r.bottom}, r, state.rightToLeft);
      canvas.fillRect(column, lighten(p.iconBack, percent));
      percent += x < strip + 5 ? 3 : 1;
    }
  } else {
    canvas.fillRect(stripRect, p.iconBack);
  }
  RECT text = mirrored(RECT{r.left + strip, r.top, r.right, r.bottom}, r, state.rightToLeft);
  if (state.selected && item.enabled && context.drawSelect && !item.isLine()) {
    RECT box{r.left, r.top + 1, r.right, r.bottom - 1};
    canvas.setBrush(p.selection);
    canvas.setPen(p.selectionBorder);
    canvas.rectangle(box);
  }
  if (item.isLine()) {
    int y = r.top + (r.bottom - r.top) / 2;
    canvas.setPen(p.separator);
    if (state.rightToLeft) canvas.line(text.right - 7, y, text.left - 1, y);
    else canvas.line(text.left + 7, y, text.right, y);
    return;
  }
  if (item.checked) drawCheck(canvas, stripRect, item, state, context);
  drawGlyph(canvas, stripRect, item, state, context);
  drawCaption(canvas, text, item, state, context);
}

void MenuPainter::drawCheck(frt::Canvas& canvas, const RECT& strip, const frt::MenuItem& item,
                            const MenuItemState& state, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  const frt::Bitmap* glyph = item.glyph();
  int size = glyph ? std::max(glyph->width(), glyph->height()) + 4 : 14;
  int cx = (strip.left + strip.right) / 2, cy = (strip.top + strip.bottom) / 2;
  RECT box{cx - size / 2, cy - size / 2, cx - size / 2 + size, cy - size / 2 + size};
  COLORREF frame = item.enabled ? p.checked : p.disabled;
  COLORREF fill = state.selected ? p.shade3 : p.shade2;
  if (item.radioItem) {
    canvas.setBrush(fill);
    canvas.setPen(frame);
    canvas.roundRect(box.left, box.top, box.right, box.bottom, 6, 6);
    if (!glyph) {
      RECT dot = box;
      InflateRect(&dot, -4, -4);
      canvas.setBrush(item.enabled ? RGB(0, 0, 0) : p.disabled);
      canvas.setPen(item.enabled ? RGB(0, 0, 0) : p.disabled);
      canvas.ellipse(dot.left, dot.top, dot.right, dot.bottom);
    }
    return;
  }
  if (glyph) {
    canvas.frameRect(box, frame);
    return;
  }
  canvas.setBrush(fill);
  canvas.setPen(frame);
  canvas.rectangle(box);
  // The mark: five short strokes, down one step and up three.
  canvas.setPen(item.enabled ? RGB(0, 0, 0) : p.disabled);
  static const int kTick[5] = {1, 2, 1, 0, -1};
  int x = box.left + (size - 5) / 2, y = box.top + size / 2 - 2;
  for (int i = 0; i < 5; ++i) canvas.line(x + i, y + kTick[i], x + i, y + kTick[i] + 3);
}

void MenuPainter::drawGlyph(frt::Canvas& canvas, const RECT& strip, const frt::MenuItem& item,
                            const MenuItemState& state, const SkinContext& context) {
  const frt::Bitmap* glyph = item.glyph();
  if (glyph == nullptr) return;
  int x = strip.left + (strip.right - strip.left - glyph->width()) / 2;
  int y = strip.top + (strip.bottom - strip.top - glyph->height()) / 2;
  GlyphEffects effects;
  if (item.enabled && !state.selected && !item.checked && context.deep())
    effects.dimPercent = context.dimLevel;
  if (!item.enabled) {
    effects.grayed = true;
    effects.grayLevel = context.grayLevel;
  }
  if (state.selected && item.enabled && !item.checked) {
    effects.shadow = true;
    effects.shadowColor = darken(context.palette.shade1, 50);
    effects.lifted = true;
  }
  GlyphPainter::draw(canvas, *glyph, x, y, effects);
}

void MenuPainter::drawCaption(frt::Canvas& canvas, RECT text, const frt::MenuItem& item,
                              const MenuItemState& state, const SkinContext& context) {
  canvas.setFont(context.font);
  canvas.setTransparentText();
  canvas.setTextColor(item.enabled ? frt::colorToRGB(context.font.color) : context.palette.disabled);
  int lineHeight = canvas.textHeight("W");
  text.top += (text.bottom - text.top - lineHeight) / 2;
  text.bottom = text.top + lineHeight;
  InflateRect(&text, -3, 0);
  UINT side = state.rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
  if (state.onBar) side = DT_CENTER;
  canvas.drawText(item.caption, &text, DT_SINGLELINE | side);
  if (item.shortCut.empty() || state.onBar) return;
  canvas.drawText(item.shortCut, &text, DT_SINGLELINE | (state.rightToLeft ? DT_LEFT : DT_RIGHT));
}

void MenuPainter::flatFrame(frt::Canvas& canvas, const RECT& window, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  RECT body{window.left, window.top, window.right - 2, window.bottom - 2};
  canvas.frameRect(body, p.shadow1);
  InflateRect(&body, -1, -1);
  canvas.frameRect(body, p.iconBack);
  canvas.fillRect(RECT{window.right - 2, window.top + 2, window.right, window.bottom}, p.shadow2);
  canvas.fillRect(RECT{window.left + 2, window.bottom - 2, window.right, window.bottom}, p.shadow2);
}

}  // namespace skin
