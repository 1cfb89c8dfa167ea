// The registry of running modal loops. A termination signal asks for the end of the program;
// whatever modal loop then runs must give the GUI thread back to the message loop, or the
// close that the signal posted would wait behind it.
#include "platform/ModalLoops.h"

#include <QDialog>

#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/win32.h"

namespace vornplatform {
namespace {

std::atomic<bool> ending{false};

std::vector<const ModalLoop*>& running() {
  static auto* loops = new std::vector<const ModalLoop*>;
  return *loops;
}

bool isRunning(const ModalLoop* loop) {
  const std::vector<const ModalLoop*>& loops = running();
  return std::find(loops.begin(), loops.end(), loop) != loops.end();
}

}  // namespace

bool endingRequested() { return ending.load(); }

void requestEnding() {
  ending = true;
  cancelRunningLoops();
}

void cancelRunningLoops() {
  // A cancel may end other loops on its way: each is asked only while still registered.
  std::vector<const ModalLoop*> loops = running();
  for (auto it = loops.rbegin(); it != loops.rend(); ++it)
    if (isRunning(*it)) (*it)->cancel();
}

void clearEndingRequest() { ending = false; }

ModalLoop::ModalLoop(std::function<void()> cancel) : cancel_(std::move(cancel)) {
  running().push_back(this);
}

ModalLoop::~ModalLoop() {
  std::vector<const ModalLoop*>& loops = running();
  loops.erase(std::remove(loops.begin(), loops.end(), this), loops.end());
}

bool ModalLoop::mayRun() const { return !ending.load(); }

void ModalLoop::cancel() const {
  cancelled_ = true;
  cancel_();
}

bool runDialog(QDialog& dialog, bool blocksAll, bool* cancelled) {
  ModalLoop loop([&dialog] { dialog.reject(); });
  if (cancelled != nullptr) *cancelled = !loop.mayRun();
  if (!loop.mayRun()) return false;
  Qt::WindowModality modality = Qt::NonModal;
  if (blocksAll)
    modality = Qt::ApplicationModal;
  else if (dialog.parentWidget() != nullptr)
    modality = Qt::WindowModal;
  dialog.setWindowModality(modality);
  dialog.setResult(QDialog::Rejected);
  // QDialog::exec would block every window and hold the thread's posted messages (menu
  // commands, timers) back. Like Win32's dialog loop, this one dispatches them, and blocks
  // only what the modality says.
  bool finished = false;
  QObject::connect(&dialog, &QDialog::finished, [&finished] {
    finished = true;
    PostMessageA(nullptr, WM_NULL, 0, 0);  // wakes the loop
  });
  dialog.show();
  while (!finished && dialog.isVisible()) {
    MSG msg;
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // ends this loop; the program's ends on it
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (cancelled != nullptr) *cancelled = loop.cancelled();
  return !loop.cancelled() && dialog.result() == QDialog::Accepted;
}

}  // namespace vornplatform
