// The game window's input line: a history edit whose entered text goes to the game window,
// which sends it to the partner or runs its '/' commands.
#pragma once

#include "lib/HistoryEdit.h"

class MineDuelWindow;

class MineDuelInput : public HistoryEdit {
 public:
  explicit MineDuelInput(MineDuelWindow* window);

  bool onEnter() override;

 private:
  MineDuelWindow* window;
};
