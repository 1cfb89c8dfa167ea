// Message queues (one per thread), sending and posting from any thread, the message loop and
// timers. Windows live on the GUI thread; a send from another thread waits for it.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "platform/ModalLoops.h"
#include "platform/ProfileCache.h"
#include "platform/Screenshot.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"
#include "platform/win32_threads.h"

namespace vornplatform {
namespace {

struct Completion {
  SENDASYNCPROC callback;
  HWND hwnd;
  UINT msg;
  ULONG_PTR data;
  LRESULT result;
};

struct ThreadQueue {
  std::mutex lock;
  std::condition_variable changed;
  std::deque<MSG> messages;
  std::deque<Completion> completions;
  bool quit = false;
  int exitCode = 0;
  bool pumps = false;  // the thread takes its messages, so completions can reach it
};
using QueuePtr = std::shared_ptr<ThreadQueue>;

std::mutex queuesLock;
std::map<DWORD, QueuePtr>& queues() {
  static auto* instance = new std::map<DWORD, QueuePtr>;
  return *instance;
}

QueuePtr queueOf(DWORD threadId) {
  std::lock_guard<std::mutex> guard(queuesLock);
  QueuePtr& q = queues()[threadId];
  if (!q) q = std::make_shared<ThreadQueue>();
  return q;
}

std::atomic<DWORD> guiThreadId{0};
std::atomic<bool> wakePending{false};
int dispatchDepth = 0;  // GUI thread only
POINT currentMessagePos{0, 0};
DWORD currentMessageTime = 0;

// A message sent from another thread, handled by the GUI thread.
struct CrossSend {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  SENDASYNCPROC callback = nullptr;
  ULONG_PTR data = 0;
  DWORD sender = 0;
  bool waits = true;
  std::mutex lock;
  std::condition_variable done;
  bool finished = false;
  LRESULT result = 0;
};

const QEvent::Type kSendEvent = static_cast<QEvent::Type>(QEvent::User + 301);
const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 302);

void runCrossSend(CrossSend& s) {
  LRESULT result = callProcedure(s.hwnd, s.msg, s.wParam, s.lParam);
  if (s.callback) {
    QueuePtr q = queueOf(s.sender);
    std::lock_guard<std::mutex> guard(q->lock);
    if (q->pumps) q->completions.push_back({s.callback, s.hwnd, s.msg, s.data, result});
    q->changed.notify_all();
  }
  std::lock_guard<std::mutex> guard(s.lock);
  s.result = result;
  s.finished = true;
  s.done.notify_all();
}

// Sends from other threads wait here in arrival order, waiting and callback sends alike.
// One event at a time stands for them in Qt's queue; each delivery runs one send and posts
// the event again, and Qt keeps an event posted during delivery for its next pass. So a big
// burst of sends (a flood of received chunks) gives input and painting a turn between any
// two, and the message loop comes back after each.
struct WaitingSends {
  std::mutex lock;
  std::deque<std::shared_ptr<CrossSend>> sends;
  bool eventPosted = false;
};
WaitingSends& waitingSends() {
  static auto* instance = new WaitingSends;  // never destroyed: threads may send during exit
  return *instance;
}

// Lives on the GUI thread: runs sends from other threads and wakes the message loop.
class Router : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == kSendEvent) {
      runNextSend();
      return true;
    }
    if (e->type() == kWakeEvent) {
      wakePending = false;
      return true;
    }
    return QObject::event(e);
  }

 private:
  void runNextSend() {
    std::shared_ptr<CrossSend> send;
    bool more = false;
    WaitingSends& waiting = waitingSends();
    {
      std::lock_guard<std::mutex> guard(waiting.lock);
      if (waiting.sends.empty()) {
        waiting.eventPosted = false;
        return;
      }
      send = std::move(waiting.sends.front());
      waiting.sends.pop_front();
      more = waiting.eventPosted = !waiting.sends.empty();
    }
    // Posted before running, so a modal loop inside this send still takes the next one.
    if (more) QCoreApplication::postEvent(this, new QEvent(kSendEvent));
    ++dispatchDepth;
    runCrossSend(*send);
    --dispatchDepth;
  }
};

std::atomic<Router*> routerInstance{nullptr};

// Settings written while handling messages reach the disk before the thread goes to sleep,
// also in a nested loop (a modal dialog) that waits without coming back here.
void enterMessageLoop() {
  static bool entered = false;
  if (entered) return;
  entered = true;
  noteMessageLoopRunning();
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   [] { flushRecentProfileWrites(); });
}

void wakeGuiThread() {
  Router* router = routerInstance.load();
  if (!router || wakePending.exchange(true)) return;
  QCoreApplication::postEvent(router, new QEvent(kWakeEvent));
}

// Queues a send for the GUI thread; false before the message loop exists.
bool queueCrossSend(std::shared_ptr<CrossSend> send) {
  Router* router = routerInstance.load();
  if (!router) return false;
  WaitingSends& waiting = waitingSends();
  bool post = false;
  {
    std::lock_guard<std::mutex> guard(waiting.lock);
    waiting.sends.push_back(std::move(send));
    post = !waiting.eventPosted;
    waiting.eventPosted = true;
  }
  if (post) QCoreApplication::postEvent(router, new QEvent(kSendEvent));
  return true;
}

bool matches(const MSG& m, HWND hwnd, UINT low, UINT high) {
  if (m.message == WM_QUIT) return true;
  if (hwnd && m.hwnd != hwnd) return false;
  if (low == 0 && high == 0) return true;
  return m.message >= low && m.message <= high;
}

bool takeMessage(ThreadQueue& q, MSG* out, HWND hwnd, UINT low, UINT high, bool remove) {
  for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
    if (!matches(*it, hwnd, low, high)) continue;
    *out = *it;
    if (remove) q.messages.erase(it);
    return true;
  }
  if (q.quit) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.exitCode), 0, GetTickCount(), {0, 0}};
    if (remove) q.quit = false;
    return true;
  }
  return false;
}

void runCompletions(ThreadQueue& q) {
  std::deque<Completion> ready;
  {
    std::lock_guard<std::mutex> guard(q.lock);
    q.pumps = true;
    ready.swap(q.completions);
  }
  for (const Completion& c : ready) c.callback(c.hwnd, c.msg, c.data, c.result);
}

bool enqueue(DWORD threadId, const MSG& m, bool atFront) {
  QueuePtr q = queueOf(threadId);
  {
    std::lock_guard<std::mutex> guard(q->lock);
    if (atFront) {
      q->messages.push_front(m);
    } else {
      q->messages.push_back(m);
    }
    q->changed.notify_all();
  }
  if (threadId == guiThreadId.load() && GetCurrentThreadId() != threadId) wakeGuiThread();
  return true;
}

MSG makeMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  POINT pt{0, 0};
  GetCursorPos(&pt);
  return MSG{hwnd, msg, wParam, lParam, GetTickCount(), pt};
}

// What a broadcast reaches: every live window without a parent, visible or not.
std::vector<HWND> topLevelWindows() {
  std::vector<HWND> tops;
  for (const WindowPtr& w : allWindows()) {
    if (!w->parent && !w->dying) tops.push_back(w->hwnd);
  }
  return tops;
}

// Deletes widgets of destroyed windows once no window procedure is running.
void flushDeletions() {
  if (dispatchDepth == 0 && !inputDelivery() && HandlerScope::depth() == 0) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

void setCurrentMessage(const MSG& m) {
  currentMessagePos = m.pt;
  currentMessageTime = m.time;
}

// Timers: one QTimer per (window, id), posting WM_TIMER unless one is already waiting.
struct TimerKey {
  uint32_t hwnd;
  UINT_PTR id;
  bool operator<(const TimerKey& o) const { return hwnd != o.hwnd ? hwnd < o.hwnd : id < o.id; }
};
std::map<TimerKey, QTimer*>& timers() {
  static auto* instance = new std::map<TimerKey, QTimer*>;
  return *instance;
}

uint32_t valueOf(HWND hwnd) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)); }

void removePendingTimerMessages(HWND hwnd, UINT_PTR id) {
  QueuePtr q = queueOf(guiThreadId.load());
  std::lock_guard<std::mutex> guard(q->lock);
  for (auto it = q->messages.begin(); it != q->messages.end();) {
    bool same = it->message == WM_TIMER && it->hwnd == hwnd && it->wParam == id;
    it = same ? q->messages.erase(it) : it + 1;
  }
}

void timerFired(HWND hwnd, UINT_PTR id, TIMERPROC proc) {
  QueuePtr q = queueOf(guiThreadId.load());
  {
    std::lock_guard<std::mutex> guard(q->lock);
    for (const MSG& m : q->messages) {
      if (m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id) return;
    }
  }
  enqueue(guiThreadId.load(), makeMessage(hwnd, WM_TIMER, id, reinterpret_cast<LPARAM>(proc)),
          false);
}

}  // namespace

void startMessageRouting() {
  guiThreadId = GetCurrentThreadId();
  if (!routerInstance.load()) routerInstance = new Router;
}

void postToGuiQueue(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  enqueue(guiThreadId.load(), makeMessage(hwnd, msg, wParam, lParam), false);
}

void killTimersOf(HWND hwnd) {
  auto& all = timers();
  for (auto it = all.begin(); it != all.end();) {
    if (it->first.hwnd != valueOf(hwnd)) {
      ++it;
      continue;
    }
    delete it->second;
    it = all.erase(it);
  }
}

int currentDispatchDepth() { return dispatchDepth; }

void setMessagePos(POINT screenPoint) { currentMessagePos = screenPoint; }

void setMessageTime(DWORD time) { currentMessageTime = time; }

void processEventsFor(int milliseconds) {
  if (!isGuiThread()) return;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    flushDeletions();
  } while (std::chrono::steady_clock::now() < deadline);
}

}  // namespace vornplatform

using namespace vornplatform;

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (HWND top : topLevelWindows()) SendMessageA(top, msg, wParam, lParam);
    return 1;
  }
  if (!findWindow(hwnd)) return 0;
  if (isGuiThread()) return callProcedure(hwnd, msg, wParam, lParam);
  auto send = std::make_shared<CrossSend>();
  send->hwnd = hwnd, send->msg = msg, send->wParam = wParam, send->lParam = lParam;
  if (!queueCrossSend(send)) return 0;
  std::unique_lock<std::mutex> guard(send->lock);
  send->done.wait(guard, [&] { return send->finished; });
  return send->result;
}

BOOL SendMessageCallbackA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, SENDASYNCPROC callback,
                          ULONG_PTR data) {
  if (!findWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (isGuiThread()) {
    LRESULT result = callProcedure(hwnd, msg, wParam, lParam);
    if (callback) callback(hwnd, msg, data, result);
    return TRUE;
  }
  auto send = std::make_shared<CrossSend>();
  send->hwnd = hwnd, send->msg = msg, send->wParam = wParam, send->lParam = lParam;
  send->callback = callback, send->data = data, send->sender = GetCurrentThreadId();
  send->waits = false;
  return queueCrossSend(send) ? TRUE : FALSE;
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return enqueue(GetCurrentThreadId(), makeMessage(nullptr, msg, wParam, lParam), false);
  if (hwnd == HWND_BROADCAST) {
    for (HWND top : topLevelWindows()) PostMessageA(top, msg, wParam, lParam);
    return TRUE;
  }
  WindowPtr w = findWindow(hwnd);
  if (!w || w->dying) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return enqueue(guiThreadId.load(), makeMessage(hwnd, msg, wParam, lParam), false);
}

void PostQuitMessage(int exitCode) {
  {
    QueuePtr q = queueOf(GetCurrentThreadId());
    std::lock_guard<std::mutex> guard(q->lock);
    q->quit = true;
    q->exitCode = exitCode;
    q->changed.notify_all();
  }
  // As on Win32, the quit ends the dialogs, boxes and menus running on the thread: a dialog that
  // blocks no window would otherwise keep the program after its main window closed.
  if (isGuiThread()) cancelRunningLoops();
}

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return -1;
  QueuePtr q = queueOf(GetCurrentThreadId());
  bool gui = isGuiThread();
  if (gui) {
    armScreenshotFromEnvironment();
    enterMessageLoop();
  }
  for (;;) {
    runCompletions(*q);
    {
      std::unique_lock<std::mutex> guard(q->lock);
      if (takeMessage(*q, msg, hwnd, filterMin, filterMax, true)) {
        setCurrentMessage(*msg);
        return msg->message == WM_QUIT ? FALSE : TRUE;
      }
      if (!gui) {
        q->changed.wait_for(guard, std::chrono::milliseconds(200));
        continue;
      }
    }
    flushDeletions();
    flushRecentProfileWrites();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
  if (!msg) return FALSE;
  QueuePtr q = queueOf(GetCurrentThreadId());
  if (isGuiThread()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    flushDeletions();
  }
  runCompletions(*q);
  std::lock_guard<std::mutex> guard(q->lock);
  if (!takeMessage(*q, msg, hwnd, filterMin, filterMax, (remove & PM_REMOVE) != 0)) return FALSE;
  setCurrentMessage(*msg);
  return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  std::string chars = charactersForKey(static_cast<int>(msg->wParam), nullptr);
  UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  DWORD thread = GetCurrentThreadId();
  // Queued at the front, in order, so they come next.
  for (auto it = chars.rbegin(); it != chars.rend(); ++it) {
    MSG m = *msg;
    m.message = charMessage;
    m.wParam = static_cast<unsigned char>(*it);
    enqueue(thread, m, true);
  }
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  ++dispatchDepth;
  LRESULT result = callProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  --dispatchDepth;
  return result;
}

DWORD GetMessagePos() {
  return static_cast<DWORD>(MAKELONG(currentMessagePos.x, currentMessagePos.y));
}

LONG GetMessageTime() { return static_cast<LONG>(currentMessageTime); }

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (!isGuiThread() || (hwnd && !IsWindow(hwnd))) return 0;
  static UINT_PTR nextThreadTimer = 0x7000;
  if (!hwnd) id = ++nextThreadTimer;
  TimerKey key{valueOf(hwnd), id};
  QTimer*& timer = timers()[key];
  if (!timer) timer = new QTimer;
  timer->disconnect();
  QObject::connect(timer, &QTimer::timeout, [hwnd, id, proc] { timerFired(hwnd, id, proc); });
  timer->start(static_cast<int>(elapse < 10 ? 10 : (elapse > 0x7FFFFFFF ? 0x7FFFFFFF : elapse)));
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& all = timers();
  auto it = all.find(TimerKey{valueOf(hwnd), id});
  if (it == all.end()) return FALSE;
  delete it->second;
  all.erase(it);
  removePendingTimerMessages(hwnd, id);
  return TRUE;
}
