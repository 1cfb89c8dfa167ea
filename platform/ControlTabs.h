// The "SysTabControl32" backing: a strip that lays out and draws its own row of tabs (tabs,
// buttons or flat buttons) over a plain widget whose other children are the pages.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "platform/win32.h"

class QPainter;
class QStyleOptionTab;

namespace vornplatform {

class TabStrip : public QWidget {
 public:
  // How the row looks: TCS_BUTTONS and TCS_FLATBUTTONS pick the buttons.
  enum class Look { Tabs, Buttons, FlatButtons };

  struct Tab {
    std::string text;  // the bytes the caller gave, returned as given
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
    int width = -1;  // measured width, -1 until measured
  };

  explicit TabStrip(QWidget* parent);

  DWORD extendedStyle = 0;  // TCS_EX_* bits; TCS_EX_FLATSEPARATORS draws separators

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
  void setLook(Look look);
  Look look() const { return look_; }
  // Height of the row of tabs; the same with or without tabs, so pages keep their place.
  int rowHeight() const;
  // The tab's rectangle in this widget's coordinates (empty for a bad index).
  QRect tabRect(int index);
  // The tab under a point of this widget, or -1.
  int tabAt(const QPoint& point);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QRect rowRect() const;
  QRect inRow(const QRect& rect) const;  // from this widget's coordinates to the row's
  int gap() const;  // between two tabs
  int measure(const Tab& tab) const;
  // Places the first tab whose place is not known (false when all are): a tab added at the end
  // costs its own measure only, whatever the number of tabs.
  bool placeNext();
  void placeUpTo(int x);  // until a tab starts right of x
  void forget(int from);  // places from this tab on are no longer known
  void repaintFrom(int index);

  void paintTab(QPainter& painter, int index);
  void paintButton(QPainter& painter, int index, const QRect& rect);
  void paintSeparator(QPainter& painter, int index);
  void initTabOption(QStyleOptionTab* option, int index) const;

  std::vector<Tab> tabs_;
  std::vector<int> lefts_;  // left edge of the first lefts_.size() tabs
  int current_ = -1;
  bool bottom_ = false;
  Look look_ = Look::Tabs;
};

}  // namespace vornplatform
