#include "plugins/vtraySetup/skin/GroupBoxPainter.h"

#include "plugins/vtraySetup/skin/SkinColors.h"

namespace skin {

void GroupBoxPainter::groupBox(frt::Canvas& canvas, const GroupBoxView& v,
                               const SkinContext& context) {
  (void)context;
  canvas.setFont(v.font);
  SIZE extent = canvas.textExtent(v.caption.empty() ? std::string(" ") : v.caption);
  int h = extent.cy, w = extent.cx;
  COLORREF dark = darken(v.color, 60), light = lighten(v.color, 60);
  const RECT& r = v.client;
  canvas.setHollowBrush();
  canvas.setPen(v.color);
  canvas.rectangle(r.left + 1, r.top + 1 + h - 1, r.right - 1, r.bottom - 1);
  canvas.line(r.left + 1, r.top + h / 2 - 1, r.left + 1, r.bottom);
  int frameTop = r.top + h / 2 - 1;
  canvas.setPen(v.ctl3D ? light : dark);
  canvas.polyline({{r.left, r.bottom - 1}, {r.left, frameTop}, {r.right, frameTop}});
  canvas.setPen(dark);
  canvas.polyline({{r.right - 1, frameTop}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}});
  canvas.fillRect(RECT{r.left, r.top, r.right, r.top + h / 2 + 1}, v.parentColor);
  RECT place = v.rightToLeft ? RECT{r.right - 9 - w, r.top, r.right - 9, r.top + h}
                             : RECT{r.left + 9, r.top, r.left + 9 + w, r.top + h};
  canvas.fillRect(RECT{place.left, r.top + h / 2 + 1, place.right, r.top + h / 2 + 1 + h / 2 + 1}, v.color);
  canvas.setPen(v.color);
  canvas.line(r.right - 2, r.top + h / 2 + 1, r.right - 2, r.top + h);
  canvas.setHollowBrush();
  canvas.setTransparentText();
  canvas.textRect(place, place.left, place.top, v.caption, v.rightToLeft ? ETO_RTLREADING : 0);
  int lineY = r.top + h / 2 + 1;
  canvas.setPen(v.ctl3D ? light : dark);
  canvas.line(r.left, lineY, place.left, lineY);
  canvas.line(place.right, lineY, r.right - 1, lineY);
}

void GroupBoxPainter::lookupCombo(frt::Canvas& canvas, const LookupComboView& v,
                                  const ControlState& state, const SkinContext& context) {
  const SkinPalette& p = context.palette;
  COLORREF arrowColor = v.enabled ? RGB(0, 0, 0) : RGB(255, 255, 255);
  COLORREF outer, frame, fill;
  if (state.hot) {
    outer = frame = p.selectionBorder;
    fill = p.selection;
  } else {
    outer = darken(v.parentColor, 60);
    frame = lighten(p.selectionBorder, 60);
    fill = state.focused ? p.shade2 : frt::colorToRGB(frt::clBtnFace);
  }
  if (v.droppedDown) frame = p.selectionBorder, arrowColor = RGB(255, 255, 255), fill = p.shade3;
  int width = v.client.right - v.client.left, height = v.client.bottom - v.client.top;
  canvas.frameRect(RECT{0, 0, width + 2, height + 2}, outer);
  RECT inner{1, 1, width + 1, height + 1};
  canvas.frameRect(inner, v.color);
  if (!v.simpleStyle) {
    RECT button = inner;
    InflateRect(&button, -1, -1);
    int thumb = GetSystemMetrics(SM_CXHTHUMB);
    bool wide = state.hot || state.focused;
    if (v.rightToLeft) button.right = button.left + thumb + 1 + (wide ? 1 : 0);
    else button.left = button.right - thumb - 1 - (wide ? 1 : 0);
    canvas.fillRect(button, fill);
    canvas.frameRect(button, frame);
    RECT strip = v.rightToLeft ? RECT{button.right, button.top, button.right + 5, button.bottom}
                               : RECT{button.left - 5, button.top, button.left, button.bottom};
    canvas.fillRect(strip, v.color);
    int lineX = v.rightToLeft ? button.right : button.left - 1;
    canvas.setPen(frame);
    canvas.line(lineX, button.top, lineX, button.bottom);
  }
  int x = v.rightToLeft ? v.client.left + 5 : v.client.right - 9;
  int top = v.client.top;
  canvas.setPen(arrowColor);
  canvas.line(x, top + 8, x + 5, top + 8);
  canvas.line(x + 1, top + 9, x + 4, top + 9);
  canvas.line(x + 2, top + 10, x + 3, top + 10);
}

}  // namespace skin
