#include "plugins/vtraySetup/rt/ListView.h"

#include <algorithm>

namespace frt {

namespace {
const int kTextMargin = 6;  // left of a cell's text
const int kAutoMargin = 12;
}  // namespace

ListView::ListView(Component* owner, WinControl* parent) : WinControl(owner, parent) {
  color = clWindow;
  tabStop = true;
}

void ListView::addColumn(const std::string& caption, bool autoSize) {
  Column column;
  column.caption = caption;
  column.autoSize = autoSize;
  columns_.push_back(column);
}

void ListView::addRow(const std::vector<std::string>& texts) { rows_.push_back(texts); }

void ListView::sizeColumns() {
  HDC dc = GetDC(nullptr);
  {
    Canvas canvas(dc);
    canvas.setFont(font);
    for (size_t c = 0; c < columns_.size(); ++c) {
      if (!columns_[c].autoSize) continue;
      int widest = canvas.textWidth(columns_[c].caption);
      for (const auto& row : rows_)
        if (c < row.size()) widest = std::max(widest, canvas.textWidth(row[c]));
      columns_[c].width = widest + kAutoMargin;
    }
  }
  ReleaseDC(nullptr, dc);
}

void ListView::paintHeader(Canvas& canvas, int inset) {
  int x = inset;
  for (const Column& column : columns_) {
    RECT cell{x, inset, x + column.width, inset + kHeaderHeight};
    canvas.fillRect(cell, clBtnFace);
    canvas.frameRect(RECT{cell.left - 1, cell.top - 1, cell.right, cell.bottom}, clBtnShadow);
    RECT text{cell.left + kTextMargin, cell.top, cell.right, cell.bottom};
    canvas.drawText(column.caption, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    x += column.width;
  }
}

void ListView::paintRows(Canvas& canvas, int inset) {
  int y = inset + kHeaderHeight;
  for (const auto& row : rows_) {
    int x = inset;
    for (size_t c = 0; c < columns_.size(); ++c) {
      RECT text{x + kTextMargin, y, x + columns_[c].width, y + kRowHeight};
      if (c < row.size()) canvas.drawText(row[c], &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
      x += columns_[c].width;
    }
    y += kRowHeight;
  }
  if (!gridLines) return;
  canvas.setPen(clBtnFace);
  int right = inset, bottom = height - inset;
  for (const Column& column : columns_) {
    right += column.width;
    canvas.line(right - 1, inset + kHeaderHeight, right - 1, bottom);
  }
  for (int line = inset + kHeaderHeight + kRowHeight - 1; line < bottom; line += kRowHeight)
    canvas.line(inset, line, right, line);
}

// Sunken two-pixel border with the 3-D look, one plain pixel without.
void ListView::paint(Canvas& canvas) {
  canvas.fillRect(clientRect(), color);
  int inset = 0;
  if (singleBorder) {
    inset = ctl3D ? 2 : 1;
    canvas.frameRect(clientRect(), ctl3D ? clBtnShadow : clWindowText);
    if (ctl3D) canvas.frameRect(RECT{1, 1, width - 1, height - 1}, systemColor(COLOR_3DDKSHADOW));
  }
  canvas.setFont(font);
  canvas.setTransparentText();
  paintHeader(canvas, inset);
  paintRows(canvas, inset);
}

}  // namespace frt
