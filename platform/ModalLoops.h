// Internal to platform/: the modal loops running now (dialogs, message boxes, menus), so that a
// request to end the program closes each as cancelled and lets no new one open.
#pragma once

#include <functional>

class QDialog;

// Exported so that the layer's own tests can reach these internals.
#pragma GCC visibility push(default)
namespace vornplatform {

// True once the program was asked to end: every modal loop answers as cancelled at once.
bool endingRequested();
// Marks the request and cancels every running loop, innermost first. GUI thread.
void requestEnding();
// Cancels every running loop, innermost first, as a quit does on Win32. GUI thread.
void cancelRunningLoops();
// Forgets the request (the layer's tests run on after one).
void clearEndingRequest();

// One modal loop while it runs, with the way to end it as cancelled. GUI thread.
class ModalLoop {
 public:
  explicit ModalLoop(std::function<void()> cancel);
  ~ModalLoop();
  ModalLoop(const ModalLoop&) = delete;
  ModalLoop& operator=(const ModalLoop&) = delete;

  // False when the program is ending: the loop must not start.
  bool mayRun() const;
  void cancel() const;
  bool cancelled() const { return cancelled_; }

 private:
  std::function<void()> cancel_;
  mutable bool cancelled_ = false;
};

// Runs a dialog until it closes, dispatching the thread's messages meanwhile; true when
// accepted. With blocksAll every other window is blocked; otherwise a dialog with a parent
// blocks that window only, as Win32 disables a dialog's owner, and one without blocks none
// (a file offer's save dialog leaves the chat usable). The font, colour and folder dialogs and
// the message boxes block every window when they have no owner, as they always did here: the
// code that opens them holds settings and clients that nothing may delete meanwhile.
// Refused (false) while the program is ending, and ended as rejected when it begins to or on a
// quit; cancelled then tells so.
bool runDialog(QDialog& dialog, bool blocksAll = false, bool* cancelled = nullptr);

}  // namespace vornplatform
#pragma GCC visibility pop
