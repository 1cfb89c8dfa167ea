// Window pictures through Qt's widget grabbing, composed into one screen picture, and the
// timer that saves it and ends the message loop for a headless run.
#include "platform/Screenshot.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

struct Placed {
  QImage image;
  QPoint at;
};

std::vector<Placed> visibleTopLevels() {
  std::vector<Placed> placed;
  Placed active;
  for (const WindowPtr& w : allWindows()) {
    if (w->parent || w->dying || !IsWindowVisible(w->hwnd) || IsIconic(w->hwnd)) continue;
    POINT at = frameWidgetOrigin(*w);
    Placed p{grabWindowImage(w->hwnd), QPoint(at.x, at.y)};
    if (p.image.isNull()) continue;
    if (w->hwnd == GetForegroundWindow()) {
      active = p;
    } else {
      placed.push_back(p);
    }
  }
  if (!active.image.isNull()) placed.push_back(active);
  return placed;
}

}  // namespace

QImage grabWindowImage(HWND hwnd) {
  if (!IsWindow(hwnd)) return QImage();
  ensureApplication();
  bool child = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0;
  QWidget* widget = child ? clientWidgetOf(hwnd) : topLevelWidgetOf(hwnd);
  if (widget == nullptr) return QImage();
  processEventsFor(0);
  return widget->grab().toImage();
}

QImage composeScreen() {
  std::vector<Placed> placed = visibleTopLevels();
  if (placed.empty()) return QImage();
  QRect box;
  for (const Placed& p : placed) box |= QRect(p.at, p.image.size());
  QImage screen(box.size(), QImage::Format_RGB32);
  screen.fill(Qt::white);
  QPainter painter(&screen);
  for (const Placed& p : placed) painter.drawImage(p.at - box.topLeft(), p.image);
  return screen;
}

bool saveScreenPng(const std::string& path) {
  QImage screen = composeScreen();
  return !screen.isNull() && screen.save(QString::fromStdString(path), "PNG");
}

ScreenshotRequest screenshotRequestFrom(const char* path, const char* delay) {
  ScreenshotRequest request;
  if (path) request.path = path;
  if (delay && *delay) {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(delay, &end, 10);
    if (*end == '\0' && errno == 0 && value >= 0 && value <= 0x7FFFFFFF)
      request.delayMs = static_cast<int>(value);
  }
  return request;
}

void armScreenshot(const ScreenshotRequest& request) {
  if (request.path.empty() || !isGuiThread()) return;
  std::string path = request.path;
  QTimer::singleShot(request.delayMs, QCoreApplication::instance(), [path] {
    bool saved = saveScreenPng(path);
    if (!saved) std::fprintf(stderr, "vornith: could not write the screenshot %s\n", path.c_str());
    PostQuitMessage(saved ? 0 : 1);
  });
}

void armScreenshotFromEnvironment() {
  static bool armed = false;
  if (armed || !isGuiThread()) return;
  armed = true;
  armScreenshot(screenshotRequestFrom(std::getenv("VORNITH_SCREENSHOT"),
                                      std::getenv("VORNITH_SCREENSHOT_DELAY")));
}

}  // namespace vornplatform
