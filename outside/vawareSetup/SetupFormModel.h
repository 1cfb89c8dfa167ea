// The values of the stand-in settings form: the seven options and the word list, one shared
// model that every live form shows and edits (the entry points carry no form argument).
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

SetupFormModel& setupModel();
