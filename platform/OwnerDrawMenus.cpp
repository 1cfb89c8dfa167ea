// An owner-drawn item is a widget inside the Qt menu: its size comes from the owner's answer to
// WM_MEASUREITEM, and each paint asks the owner to draw into a memory context of the item's
// size with WM_DRAWITEM, then shows that picture.
#include "platform/OwnerDrawMenus.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidgetAction>

#include "platform/GdiObjects.h"

namespace vornplatform {
namespace {

// Win32 gives an item the menu font's height before the owner answers.
const UINT kDefaultItemHeight = 17;

class OwnerDrawnWidget : public QWidget {
 public:
  OwnerDrawnWidget(const OwnerDrawnItem& item, QWidget* parent)
      : QWidget(parent), item_(item) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  std::function<void()> onClick;

  QSize sizeHint() const override {
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, item_.id, 0, kDefaultItemHeight, item_.data};
    if (item_.owner) SendMessageA(item_.owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    return QSize(static_cast<int>(measure.itemWidth), static_cast<int>(measure.itemHeight));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage picture = drawnPicture();
    QPainter painter(this);
    if (!picture.isNull()) painter.drawImage(0, 0, picture);
  }
  void enterEvent(QEnterEvent*) override { setSelected(true); }
  void leaveEvent(QEvent*) override { setSelected(false); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && enabled() && onClick) onClick();
  }

 private:
  bool enabled() const { return !(item_.flags & (MF_GRAYED | MF_DISABLED)); }

  void setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
  }

  UINT itemState() const {
    UINT state = selected_ ? ODS_SELECTED : 0;
    if (item_.flags & MF_GRAYED) state |= ODS_GRAYED;
    if (item_.flags & MF_DISABLED) state |= ODS_DISABLED;
    if (item_.flags & MF_CHECKED) state |= ODS_CHECKED;
    return state;
  }

  QImage drawnPicture() {
    int w = width(), h = height();
    if (w <= 0 || h <= 0 || !item_.owner) return QImage();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    DRAWITEMSTRUCT draw{ODT_MENU, 0, item_.id, ODA_DRAWENTIRE, itemState(),
                        reinterpret_cast<HWND>(item_.menu), memory, RECT{0, 0, w, h}, item_.data};
    SendMessageA(item_.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    SelectObject(memory, old);
    DeleteDC(memory);
    return takeBitmapImage(bitmap);
  }

  OwnerDrawnItem item_;
  bool selected_ = false;
};

void closeMenus(QWidget* from) {
  for (QWidget* w = from; w; w = w->parentWidget()) {
    if (qobject_cast<QMenu*>(w)) w->close();
  }
}

}  // namespace

QAction* addOwnerDrawnItem(QMenu* menu, const OwnerDrawnItem& item,
                           const std::function<void(UINT)>& choose) {
  auto* action = new QWidgetAction(menu);
  auto* widget = new OwnerDrawnWidget(item, menu);
  UINT id = item.id;
  widget->onClick = [widget, choose, id] {
    closeMenus(widget);
    choose(id);
  };
  action->setDefaultWidget(widget);
  action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
  menu->addAction(action);
  return action;
}

}  // namespace vornplatform

#include "platform/testing_menus.h"

HBITMAP vorntest::renderPopupMenu(HMENU menu, HWND owner) {
  QImage picture = vornplatform::renderPopupMenu(menu, owner);
  return picture.isNull() ? nullptr : vornplatform::bitmapFromImage(picture);
}
