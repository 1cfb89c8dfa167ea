// The program asked to end while modal loops run: each dialog, box and menu ends as cancelled,
// innermost first, none opens afterwards, and a termination signal does the asking; a quit ends
// the running ones too. A dialog without an owner blocks no window; with one, only the owner's.
#include <gtest/gtest.h>
#include <signal.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontDialog>
#include <QMessageBox>
#include <QTimer>
#include <string>
#include <thread>
#include <vector>

#include "platform/ModalLoops.h"
#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

namespace {

using vornplatform::requestEnding;

class ModalEndTest : public ::testing::Test {
 protected:
  void SetUp() override { vorntest::pumpFor(0); }  // the application exists before the timers
  void TearDown() override {
    windowtest::answer() = nullptr;
    vornplatform::clearEndingRequest();
    vorntest::clearDialogs();
    vorntest::clearMessageBoxes();
    vorntest::clearPopupMenuAnswers();
  }
};

QMessageBox* shownBox() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible())
      return box;
  return nullptr;
}

// Runs work once inside the loop that runs a little later.
void soon(std::function<void()> work) { QTimer::singleShot(30, std::move(work)); }

TEST_F(ModalEndTest, NestedDialogBoxAndMenusEndAsCancelledInnermostFirst) {
  HWND owner = windowtest::makeTop();
  HMENU plain = CreatePopupMenu();
  AppendMenuA(plain, MF_STRING, 7, "Seven");
  HMENU drawn = CreatePopupMenu();
  AppendMenuA(drawn, MF_OWNERDRAW, 8, reinterpret_cast<LPCSTR>(uintptr_t{8}));
  windowtest::answer() = [](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
    if (msg != WM_MEASUREITEM) return false;
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemWidth = 100;
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 20;
    *result = TRUE;
    return true;
  };
  std::vector<std::string> ended;
  int box = 0;
  UINT plainPick = 99, drawnPick = 99;
  // Each step runs inside the loop the step before opened.
  auto drawnMenu = [&] {
    soon(requestEnding);
    drawnPick = static_cast<UINT>(TrackPopupMenu(drawn, TPM_RETURNCMD, 50, 50, 0, owner, nullptr));
    ended.push_back("drawn menu");
  };
  auto plainMenu = [&] {
    soon(drawnMenu);
    plainPick = static_cast<UINT>(TrackPopupMenu(plain, TPM_RETURNCMD, 20, 20, 0, owner, nullptr));
    ended.push_back("plain menu");
  };
  soon([&] {
    soon(plainMenu);
    box = MessageBoxA(nullptr, "Save?", "Ask", MB_YESNO);
    ended.push_back("box");
  });
  QFontDialog dialog;
  EXPECT_FALSE(vornplatform::runDialog(dialog));
  ended.push_back("dialog");

  EXPECT_EQ(ended, (std::vector<std::string>{"drawn menu", "plain menu", "box", "dialog"}));
  EXPECT_EQ(box, IDNO);  // a Yes/No box gives the answer that does nothing
  EXPECT_EQ(plainPick, 0u);
  EXPECT_EQ(drawnPick, 0u);
  EXPECT_FALSE(dialog.isVisible());
  DestroyMenu(plain);
  DestroyMenu(drawn);
  DestroyWindow(owner);
}

TEST_F(ModalEndTest, OnceTheEndIsAskedNothingOpensAndPreparedAnswersWait) {
  requestEnding();
  vorntest::answerNextMessageBox(IDYES);
  vorntest::answerNextFontDialogUnchanged();
  vorntest::answerNextColourDialog(vorntest::ColourChoice());
  vorntest::answerNextFileDialog("/tmp/taken.txt");
  vorntest::answerNextFileDialog("/tmp/taken.txt");
  vorntest::answerNextFolderDialog("/tmp");
  vorntest::answerNextPopupMenu(7);

  EXPECT_EQ(MessageBoxA(nullptr, "Kill?", "Kill Action", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Ask", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, "Done.", "Tell", MB_OK), IDOK);
  int fromThread = 0;  // a thread asking does not wait for the GUI thread
  std::thread([&] { fromThread = MessageBoxA(nullptr, "?", "?", MB_RETRYCANCEL); }).join();
  EXPECT_EQ(fromThread, IDCANCEL);

  LOGFONTA logFont{};
  CHOOSEFONTA font{};
  font.lStructSize = sizeof font;
  font.lpLogFont = &logFont;
  EXPECT_FALSE(ChooseFontA(&font));
  CHOOSECOLORA colour{};
  colour.lStructSize = sizeof colour;
  EXPECT_FALSE(ChooseColorA(&colour));
  char path[MAX_PATH] = "";
  OPENFILENAMEA file{};
  file.lStructSize = sizeof file;
  file.lpstrFile = path;
  file.nMaxFile = sizeof path;
  EXPECT_FALSE(GetSaveFileNameA(&file));
  EXPECT_FALSE(GetOpenFileNameA(&file));
  BROWSEINFOA folder{};
  EXPECT_EQ(SHBrowseForFolderA(&folder), nullptr);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 7, "Seven");
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr), 0);
  DestroyMenu(menu);

  EXPECT_STREQ(path, "");
  EXPECT_FALSE(vorntest::shownFileDialogs().back().prepared);
  EXPECT_EQ(vorntest::shownMessageBoxes().size(), 4u);
  // The end forgotten, the answers still wait for their dialogs.
  vornplatform::clearEndingRequest();
  EXPECT_EQ(MessageBoxA(nullptr, "Kill?", "Kill Action", MB_YESNO), IDYES);
  EXPECT_TRUE(GetSaveFileNameA(&file));
}

TEST_F(ModalEndTest, ATerminationSignalEndsTheOpenBoxThenItsMessageArrives) {
  const UINT kEnd = WM_APP + 5;
  HWND window = windowtest::makeTop();
  postMessageOnTermination(window, kEnd);
  soon([] { raise(SIGTERM); });
  EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Ask", MB_YESNOCANCEL), IDCANCEL);
  auto arrived = [&] {
    for (const windowtest::Seen& seen : windowtest::seen())
      if (seen.hwnd == window && seen.msg == kEnd) return true;
    return false;
  };
  EXPECT_TRUE(vorntest::pumpUntil(arrived, 2000));
  postMessageOnTermination(nullptr, 0);
  DestroyWindow(window);
}

// As on Win32, a quit (the main window closed) ends the box; the quit still reaches the loop.
TEST_F(ModalEndTest, AQuitEndsTheOpenBoxWithTheAnswerThatDoesLeast) {
  soon([] { PostQuitMessage(4); });
  EXPECT_EQ(MessageBoxA(nullptr, "Kill?", "Kill Action", MB_YESNO), IDNO);
  EXPECT_FALSE(vornplatform::endingRequested());
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 4u);
}

TEST_F(ModalEndTest, AnOwnerlessBoxBlocksEveryWindowAnOwnedOneItsOwnerOnly) {
  HWND owner = windowtest::makeTop();
  HWND child = windowtest::makeChild(owner, 1);
  struct Seen {
    Qt::WindowModality modality = Qt::ApplicationModal;
    QWidget* parent = nullptr;
    QWidget* activeModal = nullptr;
  };
  auto look = [](Seen* seen) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, seen] {
      QMessageBox* box = shownBox();
      if (box == nullptr) return;
      timer->stop();
      timer->deleteLater();
      seen->modality = box->windowModality();
      seen->parent = box->parentWidget();
      seen->activeModal = QApplication::activeModalWidget();
      box->button(QMessageBox::Ok)->click();
    });
    timer->start();
  };
  Seen ownerless, owned, taskModal;
  look(&ownerless);
  EXPECT_EQ(MessageBoxA(nullptr, "Free", "Ask", MB_OK), IDOK);
  look(&owned);
  EXPECT_EQ(MessageBoxA(child, "Owned", "Ask", MB_OK), IDOK);
  look(&taskModal);
  EXPECT_EQ(MessageBoxA(nullptr, "Task", "Ask", MB_OK | MB_TASKMODAL), IDOK);

  EXPECT_EQ(ownerless.modality, Qt::ApplicationModal);
  EXPECT_EQ(owned.modality, Qt::WindowModal);
  EXPECT_EQ(owned.parent, vornplatform::topLevelWidgetOf(owner));
  EXPECT_EQ(taskModal.modality, Qt::ApplicationModal);
  DestroyWindow(owner);
}

}  // namespace
