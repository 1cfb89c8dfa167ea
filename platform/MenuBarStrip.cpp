#include "platform/MenuBarStrip.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "platform/WindowTable.h"

namespace vornplatform {

MenuBarStrip::MenuBarStrip(HWND owner, HMENU menu, QWidget* parent)
    : QWidget(parent), owner_(owner), menu_(menu) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void MenuBarStrip::refreshItems() {
  std::vector<BarItem> now = barItemsOf(menu_);
  bool same = laidOut_ && now.size() == items_.size();
  for (size_t i = 0; same && i < now.size(); ++i) same = now[i].sameItem(items_[i]);
  if (same) return;
  items_ = std::move(now);
  height_ = MenuBarPicture::layout(owner_, items_, kMenuBarHeight);
  laidOut_ = true;
  if (hot_ >= static_cast<int>(items_.size())) hot_ = -1;
}

void MenuBarStrip::relayout() {
  laidOut_ = false;
  update();
}

int MenuBarStrip::barHeight() {
  refreshItems();
  return height_;
}

int MenuBarStrip::itemAt(int x, int y) {
  refreshItems();
  POINT point{x, y};
  for (size_t i = 0; i < items_.size(); ++i) {
    if (PtInRect(&items_[i].box, point)) return static_cast<int>(i);
  }
  return -1;
}

bool MenuBarStrip::usable(int index) const {
  if (index < 0 || index >= static_cast<int>(items_.size())) return false;
  const BarItem& item = items_[static_cast<size_t>(index)];
  return item.enabled() && !(item.flags & MF_SEPARATOR);
}

// The owner's answers run inside these handlers: a window it destroys meanwhile keeps its
// widgets (this bar among them) until the handler returns.
void MenuBarStrip::paintEvent(QPaintEvent*) {
  HandlerScope scope;
  refreshItems();
  QImage picture = MenuBarPicture::render(owner_, menu_, items_, width(), height(), hot_, open_);
  QPainter painter(this);
  if (!picture.isNull()) painter.drawImage(0, 0, picture);
}

void MenuBarStrip::setHot(int index) {
  if (!usable(index)) index = -1;
  if (index == hot_) return;
  hot_ = index;
  update();
}

void MenuBarStrip::mouseMoveEvent(QMouseEvent* event) {
  HandlerScope scope;
  QPoint at = event->position().toPoint();
  setHot(itemAt(at.x(), at.y()));
}

void MenuBarStrip::leaveEvent(QEvent*) {
  if (open_ < 0) setHot(-1);
}

void MenuBarStrip::mousePressEvent(QMouseEvent* event) {
  HandlerScope scope;
  pressed_ = -1;
  if (event->button() != Qt::LeftButton) return;
  QPoint at = event->position().toPoint();
  int index = itemAt(at.x(), at.y());
  if (!usable(index)) return;
  if (items_[static_cast<size_t>(index)].flags & MF_POPUP) {
    openPopup(index);
    return;
  }
  pressed_ = index;
  setHot(index);
}

void MenuBarStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || pressed_ < 0) return;
  QPoint at = event->position().toPoint();
  int index = itemAt(at.x(), at.y());
  bool same = index == pressed_;
  pressed_ = -1;
  if (!same || !usable(index)) return;
  PostMessageA(owner_, WM_COMMAND, MAKEWPARAM(items_[static_cast<size_t>(index)].id, 0), 0);
}

void MenuBarStrip::openFromKeyboard(int index) {
  HandlerScope scope;
  refreshItems();
  if (usable(index) && (items_[static_cast<size_t>(index)].flags & MF_POPUP)) openPopup(index);
}

void MenuBarStrip::openPopup(int index) {
  WindowPtr w = findWindow(owner_);
  if (!w || w->dying) return;
  const BarItem item = items_[static_cast<size_t>(index)];
  POINT origin = frameWidgetOrigin(*w);
  open_ = index;
  hot_ = index;
  update();
  // The menu runs its own loop; the bar may be rebuilt (and this strip dropped) meanwhile.
  QPointer<MenuBarStrip> self(this);
  TrackPopupMenu(item.sub, TPM_LEFTALIGN | TPM_TOPALIGN, origin.x + item.box.left,
                 origin.y + item.box.bottom, 0, owner_, nullptr);
  if (!self) return;
  open_ = -1;
  QPoint mouse = mapFromGlobal(QCursor::pos());
  hot_ = rect().contains(mouse) ? itemAt(mouse.x(), mouse.y()) : -1;
  if (!usable(hot_)) hot_ = -1;
  update();
}

}  // namespace vornplatform
