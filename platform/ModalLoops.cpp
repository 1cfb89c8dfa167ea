// The registry of running modal loops. A termination signal asks for the end of the program;
// whatever modal loop then runs must give the GUI thread back to the message loop, or the
// close that the signal posted would wait behind it.
#include "platform/ModalLoops.h"

#include <QDialog>
#include <QEventLoop>

#include <algorithm>
#include <atomic>
#include <vector>

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

bool runDialog(QDialog& dialog, bool blocksAll) {
  ModalLoop loop([&dialog] { dialog.reject(); });
  if (!loop.mayRun()) return false;
  Qt::WindowModality modality = Qt::NonModal;
  if (blocksAll)
    modality = Qt::ApplicationModal;
  else if (dialog.parentWidget() != nullptr)
    modality = Qt::WindowModal;
  dialog.setWindowModality(modality);
  dialog.setResult(QDialog::Rejected);
  // QDialog::exec would block every window; this loop blocks only what the modality says.
  QEventLoop events;
  QObject::connect(&dialog, &QDialog::finished, &events, &QEventLoop::quit);
  dialog.show();
  if (dialog.isVisible()) events.exec(QEventLoop::DialogExec);
  return dialog.result() == QDialog::Accepted;
}

}  // namespace vornplatform
