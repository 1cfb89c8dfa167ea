// While a pop-up menu is open its windows hold the mouse and the keyboard, as Win32's menu loop
// does: every mouse event is read by its place on the screen (over which level, which item),
// and keys move the highlight, open and close levels and choose.
#include "platform/MenuTracker.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/ModalLoops.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

bool tracking = false;  // one menu at a time, as on Win32

class MenuInputFilter : public QObject {
 public:
  explicit MenuInputFilter(MenuTracker* tracker) : tracker_(tracker) {}

  bool eventFilter(QObject* watched, QEvent* e) override {
    // Set on the application too: there only the events of Qt's windows, which reach no widget
    // once taken here (the pointer over a lower menu level while a sub-menu holds the grab).
    if (watched->isWindowType() && !isMouse(e->type())) return false;
    switch (e->type()) {
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(e);
        QPoint at = m->globalPosition().toPoint();
        int type = e->type() == QEvent::MouseButtonDblClick ? QEvent::MouseButtonPress : e->type();
        tracker_->mouse(type, m->button(), POINT{at.x(), at.y()});
        return true;
      }
      case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        tracker_->key(virtualKeyOf(k->key(), (k->modifiers() & Qt::KeypadModifier) != 0));
        return true;
      }
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
        return true;
      case QEvent::Paint:
        return paintBorder(watched);
      default:
        return false;
    }
  }

 private:
  static bool isMouse(QEvent::Type type) {
    return type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
           type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonRelease;
  }
  // The outer Qt window shows the window's own border from the backing image; the client
  // widget inside it shows the rest.
  static bool paintBorder(QObject* watched) {
    QVariant value = watched->property("vornFrame");
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!value.isValid() || widget == nullptr) return false;
    HWND hwnd = handleOf(value.toUInt());
    QImage* image = MenuWindow::fromHwnd(hwnd) ? backingImageOf(hwnd) : nullptr;
    if (image == nullptr) return false;  // another window's frame, seen at the application
    QPainter painter(widget);
    painter.drawImage(0, 0, *image);
    return true;
  }

  MenuTracker* tracker_;
};

RECT workAreaRect() {
  RECT area{0, 0, 0, 0};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

int keepWithin(int at, int extent, int low, int high) {
  return std::max(low, std::min(at, high - extent));
}

}  // namespace

MenuTracker::MenuTracker(HMENU menu, HWND owner, UINT flags)
    : menu_(menu), owner_(owner), flags_(flags), filter_(new MenuInputFilter(this)) {}

MenuTracker::~MenuTracker() { closeFrom(0); }

void MenuTracker::watch(MenuWindow& window) {
  WindowPtr w = findWindow(window.hwnd());
  if (!w) return;
  if (w->frame) w->frame->installEventFilter(filter_.get());
  if (w->client) w->client->installEventFilter(filter_.get());
}

bool MenuTracker::busy() { return tracking; }

bool MenuTracker::track(int x, int y, UINT* chosen) {
  ModalLoop loop([this] { cancel(); });
  if (tracking || !loop.mayRun()) return false;
  levels_.push_back(std::make_unique<MenuWindow>(menu_, owner_, this));
  if (!top()->layOut()) return false;
  tracking = true;
  QCoreApplication::instance()->installEventFilter(filter_.get());
  if (!top()->open(placeTop(x, y, top()->windowSize()), true)) cancel();
  while (!done_) {
    MSG msg;
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the program's own loop ends on it
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (owner_ && !IsWindow(owner_)) cancel();
  }
  closeFrom(0);
  tracking = false;
  *chosen = chosen_;
  return picked_;
}

QImage MenuTracker::render() {
  levels_.push_back(std::make_unique<MenuWindow>(menu_, owner_, this));
  if (!top()->layOut() || !top()->open(POINT{0, 0}, false)) return QImage();
  QImage* image = backingImageOf(top()->hwnd());
  QImage picture = image ? image->copy() : QImage();
  closeFrom(0);
  return picture;
}

void MenuTracker::cancel() {
  if (done_) return;
  done_ = true;
  PostMessageA(nullptr, WM_NULL, 0, 0);  // wakes the loop
}

void MenuTracker::choose(UINT id) {
  picked_ = true;
  chosen_ = id;
  cancel();
}

int MenuTracker::levelAt(POINT screen) const {
  for (size_t i = levels_.size(); i-- > 0;)
    if (levels_[i]->contains(screen)) return static_cast<int>(i);
  return -1;
}

void MenuTracker::closeFrom(size_t level) {
  while (levels_.size() > level) {
    std::unique_ptr<MenuWindow> last = std::move(levels_.back());
    levels_.pop_back();
    last->close();
  }
}

bool MenuTracker::openSub(size_t level, int index, bool selectFirst) {
  MenuWindow& parent = *levels_[level];
  const MenuItemView& item = parent.item(index);
  if (!(item.flags & MF_POPUP) || (item.flags & (MF_GRAYED | MF_DISABLED))) return false;
  if (levels_.size() > level + 1 && levels_[level + 1]->menu() == item.sub) return true;
  closeFrom(level + 1);
  auto sub = std::make_unique<MenuWindow>(item.sub, owner_, this);
  if (!sub->layOut()) return false;
  POINT at = placeSub(level, index, sub->windowSize());
  levels_.push_back(std::move(sub));
  if (!top()->open(at, true)) {
    closeFrom(level + 1);
    return false;
  }
  if (selectFirst) moveSelection(1);
  return true;
}

void MenuTracker::hover(size_t level, POINT screen) {
  MenuWindow& window = *levels_[level];
  int index = window.itemAt(screen);
  if (index < 0) return;
  window.select(index);
  if (done_) return;  // the owner closed the menu while drawing
  bool opensSub = (window.item(index).flags & MF_POPUP) != 0;
  if (!opensSub || !openSub(level, index, false)) closeFrom(level + 1);
}

void MenuTracker::release(size_t level, POINT screen, int button) {
  MenuWindow& window = *levels_[level];
  int index = window.itemAt(screen);
  if (index < 0) return;
  const MenuItemView& item = window.item(index);
  if (item.flags & MF_POPUP) {
    openSub(level, index, false);
    return;
  }
  bool rightChooses = (flags_ & TPM_RIGHTBUTTON) != 0;
  if (button != Qt::LeftButton && !(rightChooses && button == Qt::RightButton)) return;
  if (item.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR)) return;
  choose(item.id);
}

void MenuTracker::mouse(int type, int button, POINT screen) {
  if (done_ || levels_.empty()) return;
  int level = levelAt(screen);
  if (level < 0) {
    if (type == QEvent::MouseButtonPress) cancel();  // a click outside every menu window
    return;
  }
  if (type == QEvent::MouseMove) hover(static_cast<size_t>(level), screen);
  if (type == QEvent::MouseButtonRelease) release(static_cast<size_t>(level), screen, button);
}

void MenuTracker::moveSelection(int step) {
  MenuWindow& window = *top();
  int n = window.count();
  int at = window.selected();
  if (at < 0) at = step > 0 ? -1 : n;
  for (int tries = 0; tries < n; ++tries) {
    at = ((at + step) % n + n) % n;
    if (window.selectable(at)) {
      window.select(at);
      return;
    }
  }
}

void MenuTracker::key(int virtualKey) {
  if (done_ || levels_.empty()) return;
  size_t level = levels_.size() - 1;
  int selected = top()->selected();
  switch (virtualKey) {
    case VK_UP:
    case VK_DOWN:
      moveSelection(virtualKey == VK_DOWN ? 1 : -1);
      break;
    case VK_RIGHT:
      if (selected >= 0) openSub(level, selected, true);
      break;
    case VK_LEFT:
    case VK_ESCAPE:
      if (level > 0)
        closeFrom(level);
      else if (virtualKey == VK_ESCAPE)
        cancel();
      break;
    case VK_RETURN:
      if (selected < 0) break;
      if (top()->item(selected).flags & MF_POPUP)
        openSub(level, selected, true);
      else if (!(top()->item(selected).flags & (MF_GRAYED | MF_DISABLED)))
        choose(top()->item(selected).id);
      break;
    default:
      break;
  }
}

POINT MenuTracker::placeTop(int x, int y, SIZE size) const {
  if (flags_ & TPM_CENTERALIGN) x -= size.cx / 2;
  else if (flags_ & TPM_RIGHTALIGN) x -= size.cx;
  if (flags_ & TPM_VCENTERALIGN) y -= size.cy / 2;
  else if (flags_ & TPM_BOTTOMALIGN) y -= size.cy;
  RECT area = workAreaRect();
  return POINT{keepWithin(x, size.cx, area.left, area.right),
               keepWithin(y, size.cy, area.top, area.bottom)};
}

// Beside the item, its first item level with it; on the left when the right has no room.
POINT MenuTracker::placeSub(size_t level, int index, SIZE size) const {
  RECT parent{0, 0, 0, 0};
  GetWindowRect(levels_[level]->hwnd(), &parent);
  RECT item = levels_[level]->itemOnScreen(index);
  RECT area = workAreaRect();
  int x = parent.right - MenuWindow::kBorder;
  if (x + size.cx > area.right) x = parent.left - size.cx + MenuWindow::kBorder;
  int y = item.top - MenuWindow::kBorder;
  return POINT{keepWithin(x, size.cx, area.left, area.right),
               keepWithin(y, size.cy, area.top, area.bottom)};
}

}  // namespace vornplatform
