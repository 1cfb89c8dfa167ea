#include "plugins/NevTell/NevTellInputWindow.h"

#include "lib/String.h"
#include "plugins/NevTell/NevTellSession.h"
#include "plugins/NevTell/NevTellTab.h"

NevTellInputWindow::NevTellInputWindow(NevTellSession* session, NevTellTab* tab)
    : HistoryEdit("Input"), session(session), tab(tab) {}

bool NevTellInputWindow::onEnter() {
  browsing = 0;
  readLine();
  // The line is copied first: sending may close the tab, whose deletion waits for this handler.
  String line(typed.text());
  if (line.length() > 0) history.add(line.text());
  SimpleEdit::onEnter();
  if (line.length() > 0) tab->sendLine(line.text());
  return true;
}

void NevTellInputWindow::applyFont() { font.apply(session, hwnd); }
