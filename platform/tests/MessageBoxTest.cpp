// Message boxes answered by prepared buttons, with the record of what each box showed, and
// the record of beeps.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <thread>
#include <tuple>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vorntest::clearMessageBoxes();
    vorntest::clearRecordedBeeps();
  }
  void TearDown() override { vorntest::clearMessageBoxes(); }
};

TEST_F(MessageBoxTest, PreparedAnswersComeBackInOrderAndEveryBoxIsRecorded) {
  vorntest::answerNextMessageBox(IDNO);
  vorntest::answerNextMessageBox(IDCANCEL);
  vorntest::answerNextMessageBox(IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "Remove the plug-in?", "Plugs", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "caf\xE9 \xC3\xA9", nullptr, MB_OKCANCEL | MB_DEFBUTTON2),
            IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, nullptr, "", MB_OK), IDOK);

  // The bytes are kept as passed; a box without a caption is titled "Error".
  std::vector<std::tuple<std::string, std::string, UINT, int>> got;
  for (const vorntest::ShownMessageBox& box : vorntest::shownMessageBoxes())
    got.emplace_back(box.caption, box.text, box.flags, box.answer);
  EXPECT_EQ(got,
            (decltype(got){{"Plugs", "Remove the plug-in?", MB_YESNO | MB_ICONQUESTION, IDNO},
                           {"Error", "caf\xE9 \xC3\xA9", MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
                           {"", "", MB_OK, IDOK}}));

  vorntest::clearMessageBoxes();
  EXPECT_TRUE(vorntest::shownMessageBoxes().empty());
}

TEST_F(MessageBoxTest, ClearingDropsUnusedAnswers) {
  vorntest::answerNextMessageBox(IDYES);
  vorntest::answerNextMessageBox(IDNO);
  vorntest::clearMessageBoxes();
  vorntest::answerNextMessageBox(IDRETRY);
  int answer = 0;  // a box asked for on another thread takes its answer too
  std::thread worker(
      [&answer]() { answer = MessageBoxA(nullptr, "Again?", "Send", MB_RETRYCANCEL); });
  worker.join();
  EXPECT_EQ(answer, IDRETRY);
  ASSERT_EQ(vorntest::shownMessageBoxes().size(), 1u);
  EXPECT_EQ(vorntest::shownMessageBoxes()[0].text, "Again?");
}

// What a real box showed, read while it is open, and the button a person pressed.
struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QList<QMessageBox::StandardButton> buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// The box on the screen; a box without an owner is modal to no window.
QMessageBox* shownBox() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible())
      return box;
  return nullptr;
}

// Reads the box once its modal loop runs, then presses a button (none: Escape or close box).
void answerShownBox(SeenBox* seen, QMessageBox::StandardButton press) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, seen, press]() {
    QMessageBox* box = shownBox();
    if (box == nullptr) return;  // not open yet
    timer->stop();
    timer->deleteLater();
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    for (QAbstractButton* button : box->buttons())
      seen->buttons.append(box->standardButton(button));
    if (box->defaultButton() != nullptr)
      seen->defaultButton = box->standardButton(box->defaultButton());
    if (press == QMessageBox::NoButton)
      box->reject();
    else
      box->button(press)->click();
  });
  timer->start();
}

TEST_F(MessageBoxTest, RealBoxesShowTheTypesButtonsIconAndText) {
  vorntest::pumpFor(0);  // the application exists before the timers
  using Box = QMessageBox;
  struct Case {
    UINT type;
    const char* caption;
    Box::StandardButton press;  // none: Escape or the close box
    int expected;               // closing without a button: Cancel, a lone OK, or else the default
    Box::Icon icon;
    int buttons;
    Box::StandardButton defaultButton;
  } cases[] = {
      {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, "Ask", Box::No, IDNO, Box::Question, 3,
       Box::No},
      {MB_OKCANCEL | MB_ICONHAND, nullptr, Box::NoButton, IDCANCEL, Box::Critical, 2, Box::Ok},
      {MB_OK | MB_ICONEXCLAMATION, nullptr, Box::NoButton, IDOK, Box::Warning, 1, Box::Ok},
      {MB_YESNO | MB_DEFBUTTON2 | MB_ICONASTERISK, nullptr, Box::NoButton, IDNO, Box::Information,
       2, Box::No},
      {MB_ABORTRETRYIGNORE, nullptr, Box::NoButton, IDABORT, Box::NoIcon, 3, Box::Abort},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    SeenBox seen;
    answerShownBox(&seen, c.press);
    EXPECT_EQ(MessageBoxA(nullptr, "caf\xC3\xA9 \xE9", c.caption, c.type), c.expected);
    EXPECT_EQ(seen.title, QString(c.caption ? c.caption : "Error"));
    EXPECT_EQ(seen.text, QString::fromUtf8("caf\xC3\xA9 \xC3\xA9"));
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.buttons.size(), c.buttons);
    EXPECT_EQ(seen.defaultButton, c.defaultButton);
  }
  // Real boxes are recorded too.
  std::vector<vorntest::ShownMessageBox> shown = vorntest::shownMessageBoxes();
  ASSERT_EQ(shown.size(), std::size(cases));
  EXPECT_EQ(shown[0].answer, IDNO);
  EXPECT_EQ(shown[0].caption, "Ask");
}

TEST_F(MessageBoxTest, BeepsAreRecorded) {
  EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
  EXPECT_TRUE(MessageBeep(MB_OK));
  EXPECT_EQ(vorntest::recordedBeeps(), (std::vector<UINT>{MB_ICONEXCLAMATION, MB_OK}));
  vorntest::clearRecordedBeeps();
  EXPECT_TRUE(vorntest::recordedBeeps().empty());
  // A bell on every line of a long session keeps only the latest beeps.
  for (int i = 0; i < 5000; ++i) MessageBeep(i == 4999 ? MB_ICONHAND : MB_OK);
  std::vector<UINT> kept = vorntest::recordedBeeps();
  EXPECT_EQ(kept.size(), 1000u);
  EXPECT_EQ(kept.back(), static_cast<UINT>(MB_ICONHAND));
  vorntest::clearRecordedBeeps();
}

}  // namespace
