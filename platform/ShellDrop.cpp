// Files dropped on a window: DragAcceptFiles marks the window (WS_EX_ACCEPTFILES) and puts an
// event filter on its client widget; a drop of local files becomes a drop handle posted in
// WM_DROPFILES, read with DragQueryFileA/DragQueryPoint and freed with DragFinish.
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <cstring>
#include <map>
#include <mutex>

#include "platform/DialogHooks.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

struct Drop {
  std::vector<std::string> files;
  POINT point;
  bool inClient;
};

// Drop handles are numbers never given out twice.
struct Drops {
  std::mutex lock;
  std::map<uintptr_t, Drop> open;
  uintptr_t next = 0x5000;
};

Drops& drops() {
  static Drops* instance = new Drops;
  return *instance;
}

HDROP addDrop(const Drop& drop) {
  std::lock_guard<std::mutex> guard(drops().lock);
  uintptr_t id = drops().next++;
  drops().open[id] = drop;
  return reinterpret_cast<HDROP>(id);
}

bool findDrop(HDROP handle, Drop* out) {
  std::lock_guard<std::mutex> guard(drops().lock);
  auto found = drops().open.find(reinterpret_cast<uintptr_t>(handle));
  if (found == drops().open.end()) return false;
  *out = found->second;
  return true;
}

bool acceptsFiles(HWND hwnd) {
  return IsWindow(hwnd) && (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

std::vector<std::string> localFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) files.push_back(qStringToBytes(url.toLocalFile()));
  return files;
}

// Turns Qt's drag and drop on a client widget into WM_DROPFILES for its window.
class DropFilter : public QObject {
 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    QWidget* widget = qobject_cast<QWidget*>(object);
    HWND hwnd = widget == nullptr ? nullptr : windowOfWidget(widget);
    if (!acceptsFiles(hwnd)) return false;
    QDropEvent* drag = static_cast<QDropEvent*>(event);
    std::vector<std::string> files = localFiles(drag->mimeData());
    if (files.empty()) return false;
    drag->acceptProposedAction();
    if (type == QEvent::Drop) post(hwnd, widget, drag, files);
    return true;
  }

 private:
  static void post(HWND hwnd, QWidget* widget, QDropEvent* drop,
                   const std::vector<std::string>& files) {
    QPoint at = drop->position().toPoint();
    Drop record{files, {at.x(), at.y()}, widget->rect().contains(at)};
    HDROP handle = addDrop(record);
    if (!PostMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(handle), 0)) DragFinish(handle);
  }
};

DropFilter* dropFilter() {
  static DropFilter* filter = new DropFilter;
  return filter;
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

void DragAcceptFiles(HWND hwnd, BOOL accept) {
  if (!IsWindow(hwnd)) return;
  LONG style = GetWindowLongA(hwnd, GWL_EXSTYLE);
  LONG wanted = accept ? (style | WS_EX_ACCEPTFILES) : (style & ~WS_EX_ACCEPTFILES);
  if (wanted != style) SetWindowLongA(hwnd, GWL_EXSTYLE, wanted);
  runOnGuiThread([&]() {
    QWidget* widget = clientWidgetOf(hwnd);
    if (widget == nullptr) return;
    widget->setAcceptDrops(accept != FALSE);
    if (accept)
      widget->installEventFilter(dropFilter());
    else
      widget->removeEventFilter(dropFilter());
  });
}

UINT DragQueryFileA(HDROP handle, UINT index, LPSTR buffer, UINT size) {
  Drop drop;
  if (!findDrop(handle, &drop)) return 0;
  if (index == 0xFFFFFFFFu) return static_cast<UINT>(drop.files.size());
  if (index >= drop.files.size()) return 0;
  const std::string& name = drop.files[index];
  if (buffer == nullptr) return static_cast<UINT>(name.size());
  if (size == 0) return 0;
  size_t length = std::min(name.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, name.data(), length);
  buffer[length] = '\0';
  return static_cast<UINT>(length);
}

BOOL DragQueryPoint(HDROP handle, LPPOINT point) {
  Drop drop;
  if (!findDrop(handle, &drop) || point == nullptr) return FALSE;
  *point = drop.point;
  return drop.inClient;
}

void DragFinish(HDROP handle) {
  std::lock_guard<std::mutex> guard(drops().lock);
  drops().open.erase(reinterpret_cast<uintptr_t>(handle));
}

namespace vorntest {

bool dropFiles(HWND hwnd, const std::vector<std::string>& paths, int x, int y) {
  QWidget* widget = clientWidgetOf(hwnd);
  if (widget == nullptr || !acceptsFiles(hwnd)) return false;
  QMimeData data;
  QList<QUrl> urls;
  for (const std::string& path : paths) urls << QUrl::fromLocalFile(bytesToQString(path));
  data.setUrls(urls);
  QPoint at(x, y);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &drop);
  return drop.isAccepted();
}

int openDrops() {
  std::lock_guard<std::mutex> guard(drops().lock);
  return static_cast<int>(drops().open.size());
}

}  // namespace vorntest
