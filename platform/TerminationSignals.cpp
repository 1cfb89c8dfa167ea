// Termination signals as a posted message. The handler only writes the signal's number into a
// pipe, which is all it may safely do; the GUI thread reads the pipe in its loop, ends whatever
// modal loop runs (a dialog, a box or a menu would hold the posted message back) and posts.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

#include "platform/ModalLoops.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace {

int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t signalled = 0;
std::atomic<HWND> target{nullptr};
std::atomic<UINT> targetMessage{0};

void onSignal(int number) {
  // The quit the first one began did not end the program: the user insists.
  if (signalled) _exit(128 + number);
  signalled = 1;
  int saved = errno;
  unsigned char byte = static_cast<unsigned char>(number);
  ssize_t written = ::write(pipeEnds[1], &byte, 1);
  (void)written;
  errno = saved;
}

void readSignals() {
  unsigned char bytes[16];
  while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
  }
  vornplatform::requestEnding();
  HWND hwnd = target.load();
  if (hwnd) PostMessageA(hwnd, targetMessage.load(), 0, 0);
}

bool installHandlers() {
  if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  auto* notifier =
      new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, [] { readSignals(); });
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(number, &action, nullptr);
  return true;
}

}  // namespace

void postMessageOnTermination(HWND hwnd, UINT msg) {
  targetMessage = msg;
  target = hwnd;
  static bool installed = false;
  if (installed) return;
  vornplatform::ensureApplication();
  installed = installHandlers();
}
