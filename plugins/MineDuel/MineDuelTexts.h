// The fixed texts of the game window: the welcome, help, commands, tips and invalid-command
// tables, and the score panel's lines with their colours.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

// A table entry: the client's colour key and the text; a table ends with a null style.
struct HelpLine {
  const char* style;
  const char* text;
};

extern const HelpLine kWelcomeTable[];
extern const HelpLine kHelpTable[];
extern const HelpLine kCmdsTable[];
extern const HelpLine kTipsTable[];
extern const HelpLine kInvalidTable[];

struct ScoreLine {
  std::string text;
  COLORREF colour;
};

// The score panel for the scores, whose turn (1 own, 0 partner's, -1 nobody's) and whether
// the game is over.
std::vector<ScoreLine> scoreLines(int myScore, int adversaryScore, int turn, int over,
                                  int mines);
