#include "plugins/MineDuel/MineDuelTexts.h"

#include <cstdio>

const HelpLine kWelcomeTable[] = {
    {"system", "Welcome to MineDuel !\n\n"},
    {"normal", "/help: to know how to play\n"},
    {"normal", "/tips: to have some tricks for the game\n"},
    {"normal", "/cmds: to list all the commands\n\n\n"},
    {nullptr, nullptr}};

const HelpLine kHelpTable[] = {
    {"system", "Help:\n"},
    {"normal",
     "V-MineDuel is a two players game. To win you have to dig more mines up than your "
     "opponent.\nEach player has to click on a case of the grid to try to find a mine. If you "
     "click on one mine, your points will be increased by one, and you play again, if not, a "
     "number will appear to show how many mines are on the neighborhoods. If no mines are close "
     "to the clicked case, all neighbor cases will be automatically explored.\n"},
    {nullptr, nullptr}};

const HelpLine kCmdsTable[] = {
    {"system", "Command list:\n"},
    {"normal",
     "/help : to learn how to play\n/cmds : to display this topic\n/tips : to get some "
     "tricks...\n/stop : to stop the game\n/beep : to beep you opponent\n"},
    {nullptr, nullptr}};

const HelpLine kTipsTable[] = {
    {"system", "Tips:\n"},
    {"normal",
     ". When you don't know where to play, and if you don't want to discover a large 'empty' "
     "area, you just need to target a case close to a mine ! You will be sure to have either a "
     "mine or a number.\n"},
    {nullptr, nullptr}};

const HelpLine kInvalidTable[] = {{"system", "Invalid command !\n"},
                                  {"normal", "Enter: /cmds to have the complete list."},
                                  {nullptr, nullptr}};

std::vector<ScoreLine> scoreLines(int myScore, int adversaryScore, int turn, int over,
                                  int mines) {
  char line[64];
  std::snprintf(line, sizeof line, "Score - Mines: %02i/%i\n", myScore + adversaryScore, mines);
  std::vector<ScoreLine> lines{{line, RGB(192, 0, 0)},
                               {"---------------------------\n", RGB(0, 0, 0)}};
  std::snprintf(line, sizeof line, "YOU : %i\n", myScore);
  lines.push_back({line, RGB(0, 0, 192)});
  std::snprintf(line, sizeof line, "ADV : %i\n", adversaryScore);
  lines.push_back({line, RGB(128, 0, 0)});
  lines.push_back({"===========================\n\n", RGB(0, 0, 0)});
  if (over == 0)
    lines.push_back({turn != 0 ? "It's your turn." : "Wait.", RGB(64, 64, 64)});
  else if (turn == -1)
    lines.push_back({"No winners.", RGB(64, 64, 64)});
  else if (turn != 0)
    lines.push_back({"YOU WIN !!!!!", RGB(0, 0, 192)});
  else
    lines.push_back({"You have lost the game.", RGB(128, 0, 0)});
  return lines;
}
