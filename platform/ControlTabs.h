// The "SysTabControl32" backing: a strip of tabs drawn by a QTabBar over a plain widget whose
// other children are the pages. The selection and the items live here, with Win32's rules.
#pragma once

#include <QTabBar>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace vornplatform {

class TabStrip : public QWidget {
 public:
  struct Tab {
    std::string text;  // the bytes the caller gave, returned as given
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
  };

  explicit TabStrip(QWidget* parent);

  DWORD extendedStyle = 0;  // TCS_EX_* bits, kept for the caller only

  int count() const { return static_cast<int>(tabs_.size()); }
  int current() const { return current_; }
  bool valid(int index) const { return index >= 0 && index < count(); }

  int insert(int index, const Tab& tab);
  bool remove(int index);
  void removeAll();
  // Returns the previous selection; -1 (and no change) for an index with no tab.
  int setCurrent(int index);
  Tab* tab(int index) { return valid(index) ? &tabs_[static_cast<size_t>(index)] : nullptr; }
  void tabChanged(int index);  // shows a changed text or state

  void setBottom(bool bottom);
  bool bottom() const { return bottom_; }
  void setButtons(bool buttons);
  // Height of the row of tabs; the same with or without tabs, so pages keep their place.
  int rowHeight() const;
  // The tab's rectangle in this widget's coordinates (empty for a bad index).
  QRect tabRect(int index);
  // The tab under a point of this widget, or -1.
  int tabAt(const QPoint& point);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void placeBar();
  // The bar lays all its tabs out again at each change while it is shown: changes made in one
  // go (a page per new partner, a tab lit per line) hide it until control returns to the loop,
  // so it lays out once for all of them.
  void holdLayout();

  QTabBar* bar_;
  bool held_ = false;
  std::vector<Tab> tabs_;
  int current_ = -1;
  bool bottom_ = false;
};

}  // namespace vornplatform
