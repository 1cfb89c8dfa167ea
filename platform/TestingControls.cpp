// Test hooks of the tab strip, tree view and list view: finds where an item is drawn and clicks
// or presses keys there through the ordinary input helpers.
#include <QTreeWidget>

#include "platform/ControlClass.h"
#include "platform/ControlList.h"
#include "platform/ControlTabs.h"
#include "platform/ControlTree.h"
#include "platform/testing.h"

namespace vorntest {
namespace {

using vornplatform::controlWidget;

// A point of a widget inside the control, in the control's client coordinates.
QPoint inControl(QWidget* inner, QWidget* control, QPoint at) {
  return inner == control ? at : inner->mapTo(control, at);
}

bool clickTabWith(HWND tabs, int index, int button) {
  auto* strip = controlWidget<vornplatform::TabStrip>(tabs);
  if (!strip) return false;
  QPoint at;
  if (index == -1) {
    int right = strip->count() > 0 ? strip->tabRect(strip->count() - 1).right() : 0;
    at = QPoint(right + 20, strip->tabRect(0).isValid() ? strip->tabRect(0).center().y()
                                                        : strip->rowHeight() / 2);
    if (at.x() >= strip->width()) return false;
  } else {
    QRect r = strip->tabRect(index);
    if (r.isEmpty()) return false;
    at = r.center();
  }
  return clickAt(tabs, at.x(), at.y(), button);
}

QPoint treeItemPoint(vornplatform::TreeWidget* tree, QTreeWidgetItem* item) {
  tree->scrollToItem(item);
  QRect r = tree->visualItemRect(item);
  return inControl(tree->viewport(), tree, QPoint(r.left() + r.width() / 2, r.center().y()));
}

bool clickTree(HWND hwnd, HTREEITEM handle, bool twice) {
  auto* tree = controlWidget<vornplatform::TreeWidget>(hwnd);
  QTreeWidgetItem* item = tree ? tree->itemOf(handle) : nullptr;
  if (!item) return false;
  for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) up->setExpanded(true);
  QPoint at = treeItemPoint(tree, item);
  return twice ? doubleClickAt(hwnd, at.x(), at.y()) : clickAt(hwnd, at.x(), at.y());
}

bool clickList(HWND hwnd, int index, bool twice) {
  auto* list = controlWidget<vornplatform::ListWidget>(hwnd);
  QListWidgetItem* item = list ? list->item(index) : nullptr;
  if (!item) return false;
  list->scrollToItem(item);
  QPoint at = inControl(list->viewport(), list, list->visualItemRect(item).center());
  return twice ? doubleClickAt(hwnd, at.x(), at.y()) : clickAt(hwnd, at.x(), at.y());
}

}  // namespace

bool clickTab(HWND tabs, int index) { return index >= 0 && clickTabWith(tabs, index, LeftButton); }

bool rightClickTab(HWND tabs, int index) { return clickTabWith(tabs, index, RightButton); }

bool tabRect(HWND tabs, int index, RECT* rect) {
  auto* strip = controlWidget<vornplatform::TabStrip>(tabs);
  if (!strip || !rect) return false;
  QRect r = strip->tabRect(index);
  if (r.isEmpty()) return false;
  *rect = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
  return true;
}

bool clickTreeItem(HWND tree, HTREEITEM item) { return clickTree(tree, item, false); }

bool doubleClickTreeItem(HWND tree, HTREEITEM item) { return clickTree(tree, item, true); }

bool clickTreeCheckBox(HWND hwnd, HTREEITEM handle) {
  auto* tree = controlWidget<vornplatform::TreeWidget>(hwnd);
  QTreeWidgetItem* item = tree ? tree->itemOf(handle) : nullptr;
  if (!item) return false;
  for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) up->setExpanded(true);
  tree->scrollToItem(item);
  QRect box = tree->checkBoxRect(item);
  if (box.isEmpty()) return false;
  QPoint at = inControl(tree->viewport(), tree, box.center());
  return clickAt(hwnd, at.x(), at.y());
}

bool clickListItem(HWND list, int index) { return clickList(list, index, false); }

bool doubleClickListItem(HWND list, int index) { return clickList(list, index, true); }

bool pressEnterInList(HWND hwnd) {
  if (!controlWidget<vornplatform::ListWidget>(hwnd)) return false;
  SetFocus(hwnd);
  return pressKey(hwnd, VK_RETURN);
}

}  // namespace vorntest
