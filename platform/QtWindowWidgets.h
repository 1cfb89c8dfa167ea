// The Qt widgets behind windows: the client area of a registered class (shows the backing
// image) and the outer Qt window of a top-level window (menu bar plus client area).
#pragma once

#include <QWidget>

#include "platform/win32_window.h"

namespace vornplatform {

// The client area of a window of a registered class: paints the window's backing image,
// sending WM_PAINT first when the window has an update region.
class ClientWidget : public QWidget {
 public:
  ClientWidget(HWND hwnd, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  HWND hwnd_;
};

// The outer Qt window of a top-level window. The close box sends WM_CLOSE instead of closing;
// activation sends WM_ACTIVATE; a move or resize by the user becomes WM_MOVING/WM_SIZING; the
// window manager's minimise and maximise become Win32's.
class FrameWidget : public QWidget {
 public:
  FrameWidget(HWND hwnd, Qt::WindowFlags flags);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  HWND hwnd_;
};

// Marks a widget as the client of hwnd and routes its input (and its viewport's, for a scroll
// area) into Win32 messages.
void attachWidget(QWidget* widget, HWND hwnd, bool isControl);
// Routes the keys that reach the outer Qt window of hwnd itself into Win32 messages.
void attachFrame(QWidget* frame, HWND hwnd);

}  // namespace vornplatform
