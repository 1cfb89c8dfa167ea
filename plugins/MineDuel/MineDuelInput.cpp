#include "plugins/MineDuel/MineDuelInput.h"

#include "lib/String.h"
#include "plugins/MineDuel/MineDuelWindow.h"

MineDuelInput::MineDuelInput(MineDuelWindow* window) : HistoryEdit("Input"), window(window) {}

bool MineDuelInput::onEnter() {
  browsing = 0;
  readLine();
  // Copied first: a command may end the game, whose window then goes after this handler.
  String line(typed.text());
  if (line.length() > 0) history.add(line.text());
  SimpleEdit::onEnter();
  if (line.length() > 0) window->sendLine(line.text());
  return true;
}
