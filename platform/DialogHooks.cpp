// Prepared answers and records of the common dialogs and ShellExecuteA, and the test hooks of
// platform/testing_dialogs.h over them.
#include "platform/DialogHooks.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QThread>

#include <atomic>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/WindowAccess.h"

namespace vornplatform {
namespace {

// The answers queued for one kind of dialog and the dialogs it showed.
template <class Answer, class Shown>
struct Hook {
  std::deque<std::pair<Prepared, Answer>> answers;
  std::vector<Shown> shown;

  Prepared take(Answer* answer) {
    if (answers.empty()) return Prepared::None;
    Prepared kind = answers.front().first;
    *answer = answers.front().second;
    answers.pop_front();
    return kind;
  }
  void clear() {
    answers.clear();
    shown.clear();
  }
};

struct Hooks {
  std::mutex lock;
  Hook<vorntest::FontChoice, vorntest::ShownFontDialog> font;
  Hook<vorntest::ColourChoice, vorntest::ShownColourDialog> colour;
  Hook<std::string, vorntest::ShownFileDialog> file;
  Hook<std::string, vorntest::ShownFolderDialog> folder;
  bool recordingShell = false;
  std::vector<vorntest::ShellExecuteCall> shellCalls;
};

Hooks& hooks() {
  static Hooks* instance = new Hooks;
  return *instance;
}

std::atomic<unsigned> lastDialogError{0};

}  // namespace

Prepared takeFontAnswer(vorntest::FontChoice* choice) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  return hooks().font.take(choice);
}

void recordFontDialog(const vorntest::ShownFontDialog& shown) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().font.shown.push_back(shown);
}

Prepared takeColourAnswer(vorntest::ColourChoice* choice) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  return hooks().colour.take(choice);
}

void recordColourDialog(const vorntest::ShownColourDialog& shown) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().colour.shown.push_back(shown);
}

Prepared takeFileAnswer(std::string* path) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  return hooks().file.take(path);
}

void recordFileDialog(const vorntest::ShownFileDialog& shown) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().file.shown.push_back(shown);
}

Prepared takeFolderAnswer(std::string* path) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  return hooks().folder.take(path);
}

void recordFolderDialog(const vorntest::ShownFolderDialog& shown) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().folder.shown.push_back(shown);
}

bool shellOnlyRecords() {
  {
    std::lock_guard<std::mutex> guard(hooks().lock);
    if (hooks().recordingShell) return true;
  }
  return offscreenPlatform();
}

void recordShellCall(const vorntest::ShellExecuteCall& call) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().shellCalls.push_back(call);
}

bool offscreenPlatform() {
  ensureApplication();
  return QGuiApplication::platformName() == QLatin1String("offscreen");
}

void runOnGuiThread(const std::function<void()>& work) {
  ensureApplication();
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread()) {
    work();
    return;
  }
  QMetaObject::invokeMethod(app, work, Qt::BlockingQueuedConnection);
}

void setDialogError(unsigned code) { lastDialogError = code; }

}  // namespace vornplatform

DWORD CommDlgExtendedError() { return vornplatform::lastDialogError; }

namespace vorntest {

using vornplatform::hooks;
using vornplatform::Prepared;

void answerNextFontDialog(const FontChoice& choice) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().font.answers.emplace_back(Prepared::Answer, choice);
}

void answerNextFontDialogUnchanged() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().font.answers.emplace_back(Prepared::Unchanged, FontChoice());
}

void cancelNextFontDialog() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().font.answers.emplace_back(Prepared::Cancel, FontChoice());
}

std::vector<ShownFontDialog> shownFontDialogs() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  return hooks().font.shown;
}

void answerNextColourDialog(const ColourChoice& choice) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().colour.answers.emplace_back(Prepared::Answer, choice);
}

void cancelNextColourDialog() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().colour.answers.emplace_back(Prepared::Cancel, ColourChoice());
}

std::vector<ShownColourDialog> shownColourDialogs() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  return hooks().colour.shown;
}

void answerNextFileDialog(const char* path) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().file.answers.emplace_back(Prepared::Answer, path == nullptr ? "" : path);
}

void cancelNextFileDialog() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().file.answers.emplace_back(Prepared::Cancel, std::string());
}

std::vector<ShownFileDialog> shownFileDialogs() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  return hooks().file.shown;
}

void answerNextFolderDialog(const char* path) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().folder.answers.emplace_back(Prepared::Answer, path == nullptr ? "" : path);
}

void cancelNextFolderDialog() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().folder.answers.emplace_back(Prepared::Cancel, std::string());
}

std::vector<ShownFolderDialog> shownFolderDialogs() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  return hooks().folder.shown;
}

void clearDialogs() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().font.clear();
  hooks().colour.clear();
  hooks().file.clear();
  hooks().folder.clear();
}

void recordShellExecute(bool on) {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().recordingShell = on;
}

std::vector<ShellExecuteCall> shellExecuteCalls() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  return hooks().shellCalls;
}

void clearShellExecuteCalls() {
  std::lock_guard<std::mutex> guard(hooks().lock);
  hooks().shellCalls.clear();
}

}  // namespace vorntest
