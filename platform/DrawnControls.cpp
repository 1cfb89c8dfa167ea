// A control drawn on through GetDC or BeginPaint shows what was drawn, as on Windows, where
// such drawing lands on the screen over the control and stays until someone paints over it.
#include "platform/DrawnControls.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

// Paints the backing image in place of the widget's own painting.
class DrawnImageFilter : public QObject {
 public:
  DrawnImageFilter(HWND hwnd, QObject* parent) : QObject(parent), hwnd_(hwnd) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    QImage* image = backingImageOf(hwnd_);
    if (widget == nullptr || image == nullptr) return false;
    QPainter painter(widget);
    painter.drawImage(0, 0, *image);
    return true;
  }

 private:
  HWND hwnd_;
};

}  // namespace

void noteDrawn(HWND hwnd, bool painting) {
  WindowPtr w = findWindow(hwnd);
  if (!w || !w->client) return;
  if (!w->drawnOn && w->windowClass->control) {
    w->drawnOn = true;
    // The filter is a child of the widget, so it goes with it.
    w->client->installEventFilter(new DrawnImageFilter(hwnd, w->client));
  }
  if (!painting) w->client->update();
}

}  // namespace vornplatform
