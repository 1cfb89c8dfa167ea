// How the tab strip draws its row: tabs in the style's own look over the frame of the display
// area, or Win32's buttons (raised, the selected one pushed in) and flat buttons (no edge, the
// selected one pushed in, etched separators between them).
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QStyleOptionTabBarBase>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <algorithm>

#include "platform/ControlTabs.h"
#include "platform/GdiObjects.h"
#include "platform/TextCodec.h"

namespace vornplatform {
namespace {

QColor sysColour(int index) { return qColorOf(systemColor(index)); }

// One pixel of edge: top and left in one colour, bottom and right in the other.
void bevel(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  painter.setPen(topLeft);
  painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
  painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
  painter.setPen(bottomRight);
  painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

QTabBar::Shape shapeOf(bool bottom) { return bottom ? QTabBar::RoundedSouth : QTabBar::RoundedNorth; }

}  // namespace

int TabStrip::measure(const Tab& tab) const {
  QStyleOptionTab option;
  option.initFrom(this);
  option.shape = shapeOf(bottom_);
  option.text = bytesToQString(tab.text);
  QFontMetrics metrics = fontMetrics();
  int hframe = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
  int vframe = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
  QSize content(metrics.size(Qt::TextShowMnemonic, option.text).width() + hframe,
                metrics.height() + vframe);
  return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, content, this).width();
}

void TabStrip::initTabOption(QStyleOptionTab* option, int index) const {
  const Tab& t = tabs_[static_cast<size_t>(index)];
  option->initFrom(this);
  option->state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  option->shape = shapeOf(bottom_);
  option->text = bytesToQString(t.text);
  option->tabIndex = index;
  if (index == current_) option->state |= QStyle::State_Selected;
  if (count() == 1) {
    option->position = QStyleOptionTab::OnlyOneTab;
  } else if (index == 0) {
    option->position = QStyleOptionTab::Beginning;
  } else {
    option->position = index == count() - 1 ? QStyleOptionTab::End : QStyleOptionTab::Middle;
  }
  option->selectedPosition = QStyleOptionTab::NotAdjacent;
  if (current_ == index - 1) option->selectedPosition = QStyleOptionTab::PreviousIsSelected;
  if (current_ == index + 1) option->selectedPosition = QStyleOptionTab::NextIsSelected;
  if (t.state & TCIS_HIGHLIGHTED) {
    option->palette.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
  }
}

void TabStrip::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QRect row = rowRect();
  if (look_ == Look::Tabs) {
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = bottom_ ? QRect(0, 0, width(), height() - row.height())
                         : QRect(0, row.height(), width(), height() - row.height());
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
  }
  if (!event->rect().intersects(row)) return;
  painter.setClipRect(event->rect() & row);
  // The style draws a row whose top is 0, as a tab bar's own: it turns bottom tabs over
  // around that line.
  painter.translate(0, row.top());
  if (look_ == Look::Tabs) {
    QStyleOptionTabBarBase base;
    base.initFrom(this);
    base.shape = shapeOf(bottom_);
    int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    base.rect = QRect(0, bottom_ ? 0 : row.height() - overlap, width(), overlap);
    base.tabBarRect = QRect(0, 0, width(), row.height());
    if (valid(current_)) base.selectedTabRect = inRow(tabRect(current_));
    style()->drawPrimitive(QStyle::PE_FrameTabBarBase, &base, &painter, this);
  }
  placeUpTo(event->rect().right());
  auto after = std::upper_bound(lefts_.begin(), lefts_.end(), event->rect().left());
  int first = std::max(0, static_cast<int>(after - lefts_.begin()) - 1);
  int end = static_cast<int>(lefts_.size());
  // The selected tab last: a tab overlaps its neighbours.
  for (int i = first; i < end && lefts_[static_cast<size_t>(i)] <= event->rect().right(); ++i) {
    if (i != current_ || look_ != Look::Tabs) paintTab(painter, i);
  }
  if (look_ == Look::Tabs && current_ >= first && current_ < end) paintTab(painter, current_);
}

QRect TabStrip::inRow(const QRect& rect) const { return rect.translated(0, -rowRect().top()); }

void TabStrip::paintTab(QPainter& painter, int index) {
  QRect rect = inRow(tabRect(index));
  if (look_ != Look::Tabs) {
    paintButton(painter, index, rect.adjusted(0, 2, 0, -2));
    if (look_ == Look::FlatButtons && (extendedStyle & TCS_EX_FLATSEPARATORS) &&
        index + 1 < count()) {
      paintSeparator(painter, index);
    }
    return;
  }
  QStyleOptionTab option;
  initTabOption(&option, index);
  option.rect = rect;
  style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
}

void TabStrip::paintButton(QPainter& painter, int index, const QRect& r) {
  const Tab& t = tabs_[static_cast<size_t>(index)];
  bool down = index == current_;
  painter.fillRect(r, sysColour(COLOR_BTNFACE));
  if (down) {
    // Pushed in: the face dithered with the highlight, as a checked button is.
    painter.fillRect(r.adjusted(2, 2, -2, -2), QBrush(sysColour(COLOR_BTNHIGHLIGHT), Qt::Dense4Pattern));
    bevel(painter, r, sysColour(COLOR_BTNSHADOW), sysColour(COLOR_BTNHIGHLIGHT));
    if (look_ == Look::Buttons) {
      bevel(painter, r.adjusted(1, 1, -1, -1), sysColour(COLOR_3DDKSHADOW), sysColour(COLOR_3DLIGHT));
    }
  } else if (look_ == Look::Buttons) {
    bevel(painter, r, sysColour(COLOR_BTNHIGHLIGHT), sysColour(COLOR_3DDKSHADOW));
    bevel(painter, r.adjusted(1, 1, -1, -1), sysColour(COLOR_3DLIGHT), sysColour(COLOR_BTNSHADOW));
  }
  QColor ink = (t.state & TCIS_HIGHLIGHTED) ? sysColour(COLOR_HIGHLIGHT) : sysColour(COLOR_BTNTEXT);
  painter.setPen(ink);
  painter.setFont(font());
  QRect text = down ? r.translated(1, 1) : r;
  painter.drawText(text, Qt::AlignCenter | Qt::TextShowMnemonic, bytesToQString(t.text));
}

void TabStrip::paintSeparator(QPainter& painter, int index) {
  QRect rect = inRow(tabRect(index));
  int x = rect.right() + gap() / 2;
  painter.setPen(sysColour(COLOR_BTNSHADOW));
  painter.drawLine(x, rect.top() + 3, x, rect.bottom() - 3);
  painter.setPen(sysColour(COLOR_BTNHIGHLIGHT));
  painter.drawLine(x + 1, rect.top() + 3, x + 1, rect.bottom() - 3);
}

}  // namespace vornplatform
