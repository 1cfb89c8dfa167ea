// The values of one stand-in settings form: the seven options and the word list. Each form
// keeps its own; the entry points speak to one form at a time (SetupForm::current).
#pragma once

#include <string>
#include <vector>

struct SetupFormModel {
  static const int kFlagCount = 4;  // SoundOnly, DisabledWhenFullscreen, NoSound, WordOnly
  unsigned flags[kFlagCount] = {0, 0, 0, 0};
  unsigned position = 2;
  std::string onTell = "beep.wav";
  std::string onWord = "beep.wav";
  std::vector<std::string> words;

  // The words of a text with one word a line; blanks around a word are dropped, empty lines
  // skipped.
  void setWordsFromLines(const std::string& text);
  std::string wordLines() const;
};
