// The "SysTreeView32" backing: a QTreeWidget whose items are named by HTREEITEM ids that the
// layer hands out and checks on every use, so a deleted item's handle fails instead of crashing.
#pragma once

#include <QTreeWidget>
#include <unordered_map>

#include "platform/win32.h"

namespace vornplatform {

class TreeWidget : public QTreeWidget {
 public:
  explicit TreeWidget(QWidget* parent);

  // The live item of a handle, or null (stale, foreign or special handles).
  QTreeWidgetItem* itemOf(HTREEITEM handle) const;
  static HTREEITEM handleOf(const QTreeWidgetItem* item);

  // A new item with a fresh handle, not yet placed in the tree.
  QTreeWidgetItem* makeItem();
  // Deletes the item and its descendants; their handles go stale first.
  void deleteItem(QTreeWidgetItem* item);
  // Deletes every item; at most one selection change is reported.
  void deleteAll();

  // State image index (1 unchecked, 2 checked with the check box style; 0 none).
  static int stateImage(const QTreeWidgetItem* item);
  void setStateImage(QTreeWidgetItem* item, int image);
  void setCheckBoxes(bool on);
  bool checkBoxes() const { return checkBoxes_; }

  // Where the item's check box is drawn, in viewport coordinates (empty when it has none).
  QRect checkBoxRect(QTreeWidgetItem* item);

  // Stored per item: the caller's value and text as given.
  static LPARAM paramOf(const QTreeWidgetItem* item);
  static void setParam(QTreeWidgetItem* item, LPARAM param);
  static QByteArray textOf(const QTreeWidgetItem* item);
  static void setText(QTreeWidgetItem* item, const char* text);

  // How the next selection change came about (TVC_*), set while input reaches the control.
  UINT pendingAction = TVC_UNKNOWN;

 protected:
  // A press on a check box toggles it (on release) without selecting the item.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Gaining the focus selects nothing (Qt would make the first item current).
  void focusInEvent(QFocusEvent* event) override;

 private:
  void forget(QTreeWidgetItem* item);
  void showCheckBox(QTreeWidgetItem* item);
  // The item whose check box is under a viewport point, or null.
  QTreeWidgetItem* boxAt(const QPoint& at);

  std::unordered_map<quintptr, QTreeWidgetItem*> items_;
  bool checkBoxes_ = false;
  HTREEITEM pressedBox_ = nullptr;  // the item whose check box the button went down on
};

}  // namespace vornplatform
