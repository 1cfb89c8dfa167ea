// Shell_NotifyIconA over Qt's tray icon. The icon's clicks come back to the window as its
// callback message with the mouse messages Win32 sends: a click is button down and up, a
// double click is a double-click message and a button up.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#ifdef VORNITH_HAVE_QTDBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#endif

#include <cstddef>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/ModuleIcons.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"
#include "platform/testing_shell.h"
#include "platform/win32.h"
#include "platform/win32_shell.h"

namespace vornplatform {

// The program's own icon (ShellIcons.cpp): a handle that ExtractIconA gives for the program.
bool isProgramIcon(HICON icon);

namespace {

struct TrayIcon {
  UINT callbackMessage = 0;
  HICON icon = nullptr;
  std::string tip;
  std::unique_ptr<QSystemTrayIcon> qt;
};

using IconKey = std::pair<HWND, UINT>;
// Never destroyed: an icon left at exit must not outlive the Qt application it belongs to.
// Made on first use, so a copy of the layer that shows no icon allocates nothing.
std::map<IconKey, TrayIcon>& icons() {
  static std::map<IconKey, TrayIcon>* all = new std::map<IconKey, TrayIcon>;
  return *all;
}
std::vector<vorntest::TrayCall> calls;
int fakedArea = -1;  // -1 asks the desktop
int fakedDoubleClicks = -1;

bool areaAvailable() {
  if (fakedArea >= 0) return fakedArea == 1;
  return QSystemTrayIcon::isSystemTrayAvailable();
}

// Qt shows the icon through the desktop's status-notifier service when one is registered on
// the session bus; that service reports activations only, never double clicks.
bool statusNotifierTray() {
#ifdef VORNITH_HAVE_QTDBUS
  QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  return bus != nullptr && bus->isServiceRegistered("org.kde.StatusNotifierWatcher");
#else
  return false;
#endif
}

QIcon programIcon() {
  QPixmap picture(32, 32);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(40, 90, 170));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(1, 1, 30, 30);
  painter.setPen(QPen(Qt::white, 4));
  painter.drawLine(9, 9, 16, 24);
  painter.drawLine(16, 24, 23, 9);
  return QIcon(picture);
}

QIcon trayPictureOf(HICON icon) {
  QIcon registered = qtIconOf(icon);
  if (!registered.isNull()) return registered;
  if (isProgramIcon(icon)) return programIcon();
  return QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
}

void deliver(HWND window, UINT message, std::initializer_list<UINT> mouse) {
  for (UINT m : mouse) {
    if (!IsWindow(window)) return;
    SendMessageA(window, message, 0, static_cast<LPARAM>(m));
  }
}

void deliverActivation(HWND window, UINT id, QSystemTrayIcon::ActivationReason reason) {
  auto found = icons().find({window, id});
  if (found == icons().end()) return;
  UINT message = found->second.callbackMessage;
  if (reason == QSystemTrayIcon::DoubleClick) {
    deliver(window, message, {WM_LBUTTONDBLCLK, WM_LBUTTONUP});
  } else if (reason == QSystemTrayIcon::Trigger) {
    deliver(window, message, {WM_LBUTTONDOWN, WM_LBUTTONUP});
  } else if (reason == QSystemTrayIcon::Context) {
    deliver(window, message, {WM_RBUTTONDOWN, WM_RBUTTONUP});
  }
}

void applyRecord(TrayIcon& entry, const NOTIFYICONDATAA& data) {
  if (data.uFlags & NIF_MESSAGE) entry.callbackMessage = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) entry.icon = data.hIcon;
  if (data.uFlags & NIF_TIP) entry.tip.assign(data.szTip, strnlen(data.szTip, sizeof data.szTip));
  if (!entry.qt) return;
  entry.qt->setIcon(trayPictureOf(entry.icon));
  entry.qt->setToolTip(bytesToQString(entry.tip));
}

// While real icons exist, watches the notification area: when a tray host comes back, every
// top-level window is told "TaskbarCreated", as the shell tells them, to add its icon again.
void watchTrayHost() {
  static QTimer* timer = nullptr;
  static bool wasAvailable = true;
  if (timer != nullptr) return;
  timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [] {
    bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (available && !wasAvailable) {
      UINT message = RegisterWindowMessageA("TaskbarCreated");
      for (const WindowPtr& w : allWindows())
        if (!w->parent && !w->dying) SendMessageA(w->hwnd, message, 0, 0);
    }
    wasAvailable = available;
  });
  timer->start(1000);
}

BOOL addIcon(const NOTIFYICONDATAA& data) {
  IconKey key{data.hWnd, data.uID};
  if (!IsWindow(data.hWnd) || icons().count(key) || !areaAvailable()) return FALSE;
  TrayIcon& entry = icons()[key];
  if (fakedArea < 0) {
    watchTrayHost();
    entry.qt = std::make_unique<QSystemTrayIcon>();
    QObject::connect(entry.qt.get(), &QSystemTrayIcon::activated,
                     [key](QSystemTrayIcon::ActivationReason reason) {
                       deliverActivation(key.first, key.second, reason);
                     });
  }
  applyRecord(entry, data);
  if (entry.qt) entry.qt->show();
  return TRUE;
}

BOOL notify(DWORD message, const NOTIFYICONDATAA& data) {
  IconKey key{data.hWnd, data.uID};
  switch (message) {
    case NIM_ADD:
      return addIcon(data);
    case NIM_MODIFY: {
      auto found = icons().find(key);
      if (found == icons().end()) return FALSE;
      applyRecord(found->second, data);
      return TRUE;
    }
    case NIM_DELETE: {
      auto found = icons().find(key);
      if (found == icons().end()) return FALSE;
      // A click on the icon may be what removes it: Qt deletes it once the click is handled.
      if (found->second.qt) {
        found->second.qt->hide();
        found->second.qt.release()->deleteLater();
      }
      icons().erase(found);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

BOOL Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data) {
  ensureApplication();
  if (data == nullptr || data->cbSize < offsetof(NOTIFYICONDATAA, szTip) + 1) return FALSE;
  NOTIFYICONDATAA copy = *data;
  BOOL result = notify(message, copy);
  if (calls.size() >= 1000) calls.erase(calls.begin());
  calls.push_back({message, copy.hWnd, copy.uID, copy.uCallbackMessage, copy.hIcon,
                   std::string(copy.szTip, strnlen(copy.szTip, sizeof copy.szTip)), result});
  return result;
}

BOOL VornTrayReportsDoubleClicks() {
  if (fakedDoubleClicks >= 0) return fakedDoubleClicks == 1;
  ensureApplication();
  return statusNotifierTray() ? FALSE : TRUE;
}

namespace vorntest {

std::vector<TrayCall> recordedTrayCalls() { return calls; }

void clearTrayCalls() { calls.clear(); }

void setTrayAreaAvailable(bool available, bool reportsDoubleClicks) {
  fakedArea = available ? 1 : 0;
  fakedDoubleClicks = reportsDoubleClicks ? 1 : 0;
}

void clearTrayArea() {
  fakedArea = -1;
  fakedDoubleClicks = -1;
}

bool trayIconShown(HWND window, UINT id) { return icons().count({window, id}) != 0; }

bool clickTrayIcon(HWND window, UINT id, bool doubleClick) {
  if (!icons().count({window, id})) return false;
  deliverActivation(window, id, QSystemTrayIcon::Trigger);
  if (doubleClick) deliverActivation(window, id, QSystemTrayIcon::DoubleClick);
  return true;
}

}  // namespace vorntest
