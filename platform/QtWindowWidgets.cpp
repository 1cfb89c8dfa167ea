// The Qt widgets behind windows: client areas showing backing images and top-level frames
// turning the window manager's actions into messages.
#include "platform/QtWindowWidgets.h"

#include <QCloseEvent>
#include <QImage>
#include <QPainter>

#include "platform/GdiObjects.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"

namespace vornplatform {

bool applyingQtGeometry();

namespace {
int handlerDepth = 0;
}

HandlerScope::HandlerScope() { ++handlerDepth; }
HandlerScope::~HandlerScope() { --handlerDepth; }
int HandlerScope::depth() { return handlerDepth; }

ClientWidget::ClientWidget(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void ClientWidget::paintEvent(QPaintEvent*) {
  HandlerScope scope;
  WindowPtr w = findWindow(hwnd_);
  if (!w || w->dying) return;
  if (w->invalid) paintWindow(hwnd_);
  QImage* image = backingImageOf(hwnd_);
  QPainter painter(this);
  int border = w->parent ? 0 : w->ownBorder;
  if (image) painter.drawImage(-border, -border, *image);
}

FrameWidget::FrameWidget(HWND hwnd, Qt::WindowFlags flags) : QWidget(nullptr, flags), hwnd_(hwnd) {}

void FrameWidget::closeEvent(QCloseEvent* event) {
  HandlerScope scope;
  event->ignore();  // the window procedure decides; DefWindowProcA destroys the window
  if (IsWindow(hwnd_)) SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

bool FrameWidget::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
    HandlerScope scope;
    if (IsWindow(hwnd_)) activateFromQt(hwnd_, event->type() == QEvent::WindowActivate);
  }
  if (event->type() == QEvent::WindowStateChange) {
    HandlerScope scope;
    if (IsWindow(hwnd_)) minimizedFromQt(hwnd_, isMinimized());
    if (IsWindow(hwnd_) && !isMinimized()) maximizedFromQt(hwnd_, isMaximized());
  }
  return QWidget::event(event);
}

void FrameWidget::moveEvent(QMoveEvent*) {
  if (applyingQtGeometry()) return;
  HandlerScope scope;
  frameChangedByQt(hwnd_);
}

void FrameWidget::resizeEvent(QResizeEvent*) {
  if (applyingQtGeometry()) return;
  HandlerScope scope;
  frameChangedByQt(hwnd_);
}

}  // namespace vornplatform
