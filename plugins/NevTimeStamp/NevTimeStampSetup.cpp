#include "plugins/NevTimeStamp/NevTimeStampSetup.h"

#include "sdk/PlugsSession.h"

namespace {

const char* const kStateKey = "NevTimeStamp State";

const char* const kLabels[3] = {"Use the nevchat timestamp",
                                "Always add a timestamp for each line", "No timestamp"};

}  // namespace

void StampChoiceButton::onClick() {
  CheckBoxButton::onClick();
  owner->choose(state);
}

NevTimeStampSetup::~NevTimeStampSetup() { destroyPage(); }

// A value the page cannot show stands for the default.
void NevTimeStampSetup::readSetup() {
  if (session == nullptr) return;
  state = session->getClientInt(kStateKey, LocalStamp);
  if (state < KeepServerStamp || state > NoStamp) state = LocalStamp;
}

void NevTimeStampSetup::writeSetup() {
  if (session != nullptr) session->writeClientInt(kStateKey, state);
}

void NevTimeStampSetup::create(HWND parent) {
  if (page != nullptr || parent == nullptr) return;
  page = new ExistWindow(parent);
  page->setClient(&frame);
  frame.setClient(&line);
  for (int i = 0; i < 3; ++i) {
    buttons[i] = new StampChoiceButton(kLabels[i], this, i);
    line.addChild(buttons[i], 10);
  }
  line.addChild(&filler, 70);
}

void NevTimeStampSetup::destroyPage() {
  delete page;
  page = nullptr;
  for (StampChoiceButton*& button : buttons) {
    delete button;
    button = nullptr;
  }
}

void NevTimeStampSetup::choose(int chosen) {
  for (int i = 0; i < 3; ++i)
    if (buttons[i] != nullptr) buttons[i]->setChecked(i == chosen);
}

void NevTimeStampSetup::onSetupOpen() { choose(state); }

// When several are checked the last one wins.
void NevTimeStampSetup::onSetupClose() {
  if (page == nullptr) return;
  for (int i = 0; i < 3; ++i)
    if (buttons[i]->isChecked()) state = i;
}
