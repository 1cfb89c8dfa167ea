// Message boxes answered by prepared buttons, with the record of what each box showed, and
// the record of beeps.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <thread>

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
  EXPECT_EQ(MessageBoxA(nullptr, "caf\xE9 \xC3\xA9", nullptr, MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, nullptr, "", MB_OK), IDOK);

  std::vector<vorntest::ShownMessageBox> shown = vorntest::shownMessageBoxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].caption, "Plugs");
  EXPECT_EQ(shown[0].text, "Remove the plug-in?");
  EXPECT_EQ(shown[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(shown[0].answer, IDNO);
  EXPECT_EQ(shown[0].owner, nullptr);
  // The bytes are kept as passed; a box without a caption is titled "Error".
  EXPECT_EQ(shown[1].text, "caf\xE9 \xC3\xA9");
  EXPECT_EQ(shown[1].caption, "Error");
  EXPECT_EQ(shown[1].flags, static_cast<UINT>(MB_OKCANCEL | MB_DEFBUTTON2));
  EXPECT_EQ(shown[2].text, "");
  EXPECT_EQ(shown[2].caption, "");

  vorntest::clearMessageBoxes();
  EXPECT_TRUE(vorntest::shownMessageBoxes().empty());
}

TEST_F(MessageBoxTest, ClearingDropsUnusedAnswers) {
  vorntest::answerNextMessageBox(IDYES);
  vorntest::answerNextMessageBox(IDNO);
  vorntest::clearMessageBoxes();
  vorntest::answerNextMessageBox(IDRETRY);
  int answer = 0;  // a box asked for on another thread takes its answer too
  std::thread worker([&answer]() { answer = MessageBoxA(nullptr, "Again?", "Send", MB_RETRYCANCEL); });
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

// Reads the box once its modal loop runs, then presses a button (none: Escape or close box).
void answerShownBox(SeenBox* seen, QMessageBox::StandardButton press) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, seen, press]() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;  // not open yet
    timer->stop();
    timer->deleteLater();
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    for (QAbstractButton* button : box->buttons()) seen->buttons.append(box->standardButton(button));
    if (box->defaultButton() != nullptr) seen->defaultButton = box->standardButton(box->defaultButton());
    if (press == QMessageBox::NoButton)
      box->reject();
    else
      box->button(press)->click();
  });
  timer->start();
}

TEST_F(MessageBoxTest, RealBoxesShowTheTypesButtonsIconAndText) {
  vorntest::pumpFor(0);  // the application exists before the timers
  SeenBox seen;
  answerShownBox(&seen, QMessageBox::No);
  EXPECT_EQ(MessageBoxA(nullptr, "caf\xC3\xA9 \xE9", "Ask",
                        MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2),
            IDNO);
  EXPECT_EQ(seen.title, QStringLiteral("Ask"));
  EXPECT_EQ(seen.text, QString::fromUtf8("caf\xC3\xA9 \xC3\xA9"));
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons.size(), 3);
  EXPECT_TRUE(seen.buttons.contains(QMessageBox::Yes));
  EXPECT_TRUE(seen.buttons.contains(QMessageBox::Cancel));
  EXPECT_EQ(seen.defaultButton, QMessageBox::No);

  struct Closing {
    UINT type;
    int expected;  // closing without a button: Cancel, a lone OK, or else the default
    QMessageBox::Icon icon;
  } closings[] = {
      {MB_OKCANCEL | MB_ICONHAND, IDCANCEL, QMessageBox::Critical},
      {MB_OK | MB_ICONEXCLAMATION, IDOK, QMessageBox::Warning},
      {MB_YESNO | MB_DEFBUTTON2 | MB_ICONASTERISK, IDNO, QMessageBox::Information},
      {MB_ABORTRETRYIGNORE, IDABORT, QMessageBox::NoIcon},
  };
  for (const Closing& c : closings) {
    seen = SeenBox();
    answerShownBox(&seen, QMessageBox::NoButton);
    EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, c.type), c.expected) << c.type;
    EXPECT_EQ(seen.icon, c.icon) << c.type;
    EXPECT_EQ(seen.title, QStringLiteral("Error")) << c.type;
  }
  // Real boxes are recorded too.
  std::vector<vorntest::ShownMessageBox> shown = vorntest::shownMessageBoxes();
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown[0].answer, IDNO);
  EXPECT_EQ(shown[0].caption, "Ask");
}

TEST_F(MessageBoxTest, BeepsAreRecorded) {
  EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
  EXPECT_TRUE(MessageBeep(MB_OK));
  std::vector<UINT> beeps = vorntest::recordedBeeps();
  ASSERT_EQ(beeps.size(), 2u);
  EXPECT_EQ(beeps[0], static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(beeps[1], static_cast<UINT>(MB_OK));
  vorntest::clearRecordedBeeps();
  EXPECT_TRUE(vorntest::recordedBeeps().empty());
}

}  // namespace
