// Message boxes and beeps: a modal QMessageBox with the buttons, icon and default button the
// type asks for, or a prepared answer when a test queued one; every box and beep is recorded.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include <deque>
#include <mutex>

#include "platform/TextCodec.h"
#include "platform/MessageBoxHooks.h"
#include "platform/ModalLoops.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L

namespace vornplatform {
namespace {

struct Records {
  std::mutex lock;
  std::deque<int> answers;
  std::vector<MessageBoxRecord> boxes;
  std::vector<UINT> beeps;
};

// A server can ring the bell on every line: the record keeps only the latest beeps.
constexpr size_t kMaxBeepRecords = 1000;

Records& records() {
  static Records* instance = new Records;
  return *instance;
}

struct ButtonChoice {
  QMessageBox::StandardButton button;
  int id;
};

// The buttons of a box type, in the order Windows shows them.
std::vector<ButtonChoice> buttonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
      return {{QMessageBox::Abort, IDABORT},
              {QMessageBox::Retry, IDRETRY},
              {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
      return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
      return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
      return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
      return {{QMessageBox::Ok, IDOK}};
  }
}

QMessageBox::Icon iconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// The answer when the box closes without a button: Cancel where there is one, OK for a lone
// OK button; boxes without either cannot be dismissed, so their default button answers.
int closedAnswer(const std::vector<ButtonChoice>& buttons, size_t defaultIndex) {
  for (const ButtonChoice& choice : buttons)
    if (choice.id == IDCANCEL) return IDCANCEL;
  return buttons[defaultIndex].id;
}

// The answer of a box the program's end or a quit closes: the one that does least, as a cancel
// would.
int endingAnswer(UINT type) {
  std::vector<ButtonChoice> buttons = buttonsOf(type);
  for (int id : {IDCANCEL, IDNO, IDABORT})
    for (const ButtonChoice& choice : buttons)
      if (choice.id == id) return id;
  return buttons.front().id;
}

int showBox(HWND owner, const QString& text, const QString& caption, UINT type) {
  ensureApplication();
  QWidget* parent = owner == nullptr ? nullptr : topLevelWidgetOf(owner);
  QMessageBox box(iconOf(type), caption, text, QMessageBox::NoButton, parent);
  box.setTextFormat(Qt::PlainText);
  if (type & MB_TOPMOST) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  std::vector<ButtonChoice> buttons = buttonsOf(type);
  size_t defaultIndex = static_cast<size_t>((type & MB_DEFMASK) >> 8);
  if (defaultIndex >= buttons.size()) defaultIndex = 0;
  std::vector<QPushButton*> shown;
  for (const ButtonChoice& choice : buttons) shown.push_back(box.addButton(choice.button));
  box.setDefaultButton(shown[defaultIndex]);
  for (size_t i = 0; i < buttons.size(); ++i)
    if (buttons[i].id == IDCANCEL || buttons.size() == 1) box.setEscapeButton(shown[i]);
  // A box with an owner blocks that window; one without blocks every window, as it always
  // did here: the host's boxes (a plug-in's critical error, a kill to confirm) expect nothing
  // else to be clicked meanwhile.
  bool cancelled = false;
  runDialog(box, (type & MB_TASKMODAL) != 0 || parent == nullptr, &cancelled);
  if (cancelled) return endingAnswer(type);
  for (size_t i = 0; i < shown.size(); ++i)
    if (box.clickedButton() == shown[i]) return buttons[i].id;
  return closedAnswer(buttons, defaultIndex);
}

// Widgets live on the application's thread; a box asked for elsewhere is shown there.
int showBoxOnGuiThread(HWND owner, const QString& text, const QString& caption, UINT type) {
  ensureApplication();
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread())
    return showBox(owner, text, caption, type);
  int answer = IDCANCEL;
  QMetaObject::invokeMethod(
      app, [&]() { answer = showBox(owner, text, caption, type); }, Qt::BlockingQueuedConnection);
  return answer;
}

}  // namespace

void queueMessageBoxAnswer(int button) {
  std::lock_guard<std::mutex> guard(records().lock);
  records().answers.push_back(button);
}

std::vector<MessageBoxRecord> messageBoxRecords() {
  std::lock_guard<std::mutex> guard(records().lock);
  return records().boxes;
}

void clearMessageBoxRecords() {
  std::lock_guard<std::mutex> guard(records().lock);
  records().boxes.clear();
  records().answers.clear();
}

std::vector<UINT> beepRecords() {
  std::lock_guard<std::mutex> guard(records().lock);
  return records().beeps;
}

void clearBeepRecords() {
  std::lock_guard<std::mutex> guard(records().lock);
  records().beeps.clear();
}

}  // namespace vornplatform

using namespace vornplatform;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  // Windows titles a box without a caption "Error".
  const char* title = caption == nullptr ? "Error" : caption;
  const char* body = text == nullptr ? "" : text;
  if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
  MessageBoxRecord record{owner, title, body, type, 0};
  // The program is ending: no box opens, none answers, and the GUI thread is not waited for.
  bool answered = endingRequested();
  if (answered) record.answer = endingAnswer(type);
  {
    std::lock_guard<std::mutex> guard(records().lock);
    if (answered) {
      records().boxes.push_back(record);
    } else if (!records().answers.empty()) {
      record.answer = records().answers.front();
      records().answers.pop_front();
      records().boxes.push_back(record);
      answered = true;
    }
  }
  if (answered) return record.answer;
  record.answer = showBoxOnGuiThread(owner, bytesToQString(body), bytesToQString(title), type);
  std::lock_guard<std::mutex> guard(records().lock);
  records().boxes.push_back(record);
  return record.answer;
}

BOOL MessageBeep(UINT type) {
  {
    std::lock_guard<std::mutex> guard(records().lock);
    std::vector<UINT>& beeps = records().beeps;
    if (beeps.size() >= kMaxBeepRecords) beeps.erase(beeps.begin());
    beeps.push_back(type);
  }
  ensureApplication();
  QApplication::beep();
  return TRUE;
}
