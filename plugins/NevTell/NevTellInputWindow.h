// The input line of a tell tab: a history edit whose entered lines go to the tab, which
// sends them to the partner as tells or runs them as commands.
#pragma once

#include "lib/HistoryEdit.h"
#include "plugins/NevStyle/InputFont.h"

class NevTellTab;
class NevTellSession;

class NevTellInputWindow : public HistoryEdit {
 public:
  NevTellInputWindow(NevTellSession* session, NevTellTab* tab);

  bool onEnter() override;
  // The client's "input" font.
  void applyFont();

 private:
  NevTellSession* session;
  NevTellTab* tab;
  InputFont font;
};
