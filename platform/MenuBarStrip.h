// A window's menu bar painted by the layer and the owner window (for bars with owner-drawn
// items): hover marks an item hot, a click posts its command or opens its pop-up menu.
#pragma once

#include <QWidget>
#include <vector>

#include "platform/MenuBarPicture.h"

namespace vornplatform {

class MenuBarStrip : public QWidget {
 public:
  MenuBarStrip(HWND owner, HMENU menu, QWidget* parent);

  // The index of the item under a point of the bar, or -1.
  int itemAt(int x, int y);
  HMENU menu() const { return menu_; }
  // Measures the items again before the next paint (the owner's answers may have changed).
  void relayout();
  // The height the items need (measuring them first when due).
  int barHeight();
  // Opens the item's pull-down as a click would (the keyboard's way into the bar); a command
  // item or an unusable one opens nothing.
  void openFromKeyboard(int index);
  // The item whose pull-down shows, or -1.
  int openItem() const { return open_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  // Reads the items again and measures them when they changed since the last layout.
  void refreshItems();
  void setHot(int index);
  void openPopup(int index);
  bool usable(int index) const;

  HWND owner_;
  HMENU menu_;
  std::vector<BarItem> items_;
  bool laidOut_ = false;
  int height_ = 0;
  int hot_ = -1;
  int open_ = -1;
  int pressed_ = -1;
};

}  // namespace vornplatform
