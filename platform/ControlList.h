// The "SysListView32" backing: a QListWidget in list mode whose focus and selection changes are
// reported per item (LVN_ITEMCHANGED) with the states Win32 code expects.
#pragma once

#include <QListWidget>
#include <set>

#include "platform/win32.h"

namespace vornplatform {

class ListWidget : public QListWidget {
 public:
  ListWidget(HWND hwnd, QWidget* parent);

  static LPARAM paramOf(const QListWidgetItem* item);
  static QByteArray textOf(const QListWidgetItem* item);
  static void setParam(QListWidgetItem* item, LPARAM param);
  static void setText(QListWidgetItem* item, const char* text);

  // LVIS_FOCUSED / LVIS_SELECTED of an item as last reported.
  UINT stateOf(const QListWidgetItem* item) const;

  // Runs a change; afterwards either the differences from the last report go out (report) or
  // Qt is put back to the reported state (inserting and deleting move no focus or selection).
  template <class F>
  void change(F&& f, bool report) {
    // Qt's intermediate moves are not reported while f runs.
    ++quiet_;
    f();
    --quiet_;
    if (report) {
      reportChanges();
    } else {
      restoreReported();
    }
  }
  // An item is about to go: it leaves the reported state without a notification.
  void forget(const QListWidgetItem* item);
  void forgetAll();

  // Sends LVN_ITEMCHANGED for every item whose focus or selection differs from the last report.
  void reportChanges();

 protected:
  // The widget acts on input in several steps (current item, then selection); report once
  // it is done, so the newly current item's notification carries focus and selection together.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Activation is told here, not through Qt's activation signal: a desktop style may make Qt
  // activate on a single click, or on the release as well as the double click.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Gaining the focus changes no item (Qt would make the first item current).
  void focusInEvent(QFocusEvent* event) override;

 private:
  void qtChanged();
  void restoreReported();
  // LVN_ITEMACTIVATE for the item (a double click on it, or Enter while it is current).
  void activate(QListWidgetItem* item);

  HWND hwnd_;
  int quiet_ = 0;
  QListWidgetItem* focused_ = nullptr;
  std::set<QListWidgetItem*> selected_;
};

}  // namespace vornplatform
