// The pattern engine against the matcher it replaced (host/tests/RegExprOracle): the same
// result, error, saves, events, variables and reports over the events files, the chat corpora,
// the fuzz seeds and a table of awkward patterns.
#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/EventList.h"
#include "host/EventsFile.h"
#include "host/tests/ChatFloodLines.h"
#include "host/tests/EventCorpus.h"
#include "host/tests/EventsTestConsole.h"
#include "host/tests/RegExprOracle.h"

namespace {

std::string source(const std::string& path) { return std::string(VORNITH_SOURCE_DIR) + "/" + path; }

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> files;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir))
      if (entry->d_name[0] != '.') files.push_back(folder + "/" + entry->d_name);
    closedir(dir);
  }
  return files;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  return lines;
}

// A span as offsets into the text, so two runs over separate copies compare.
std::string spans(const RegExpr& re, const char* text) {
  std::string out;
  auto put = [&](const RegExprSave& s) {
    out += s.start ? std::to_string(s.start - text) : "-";
    out += ",";
    out += s.end ? std::to_string(s.end - text) : "-";
    out += " ";
  };
  for (int i = 0; i < re.saveCount; ++i) put(re.saves[i]);
  for (int i = 0; i < re.namedSaveCount; ++i) put(re.namedSaves[i]);
  return out;
}

// Both matchers on fresh compilations of the pattern; an error is tried twice (it sticks).
void expectSameMatch(const std::string& pattern, const std::string& text) {
  RegExpr ours, reference;
  int compiled = compileRegExpr(ours, pattern.c_str());
  ASSERT_EQ(compiled, compileRegExpr(reference, pattern.c_str()));
  for (int round = 0; round < 2; ++round) {
    int r = matchRegExpr(ours, text.c_str());
    int expected = oracle::matchRegExprOracle(reference, text.c_str());
    ASSERT_EQ(expected, r) << pattern << " on " << text;
    ASSERT_EQ(reference.error, ours.error) << pattern << " on " << text;
    if (r == 1) {
      ASSERT_EQ(spans(reference, text.c_str()), spans(ours, text.c_str()))
          << pattern << " on " << text;
    }
    if (r != 2) break;
  }
  freeRegExpr(ours);
  freeRegExpr(reference);
}

// What EventList::match does, with the reference matcher.
const char* referenceMatch(EventList& list, const char* line, EventRecord& out) {
  EventEntry* winner = nullptr;
  for (int i = 0; i < list.count() && !winner; ++i) {
    EventEntry* entry = list.entryAt(i);
    int result = oracle::matchRegExprOracle(entry->regExpr, line);
    if (result == 1) {
      winner = entry;
    } else if (result == 2) {
      list.console()->printColored(64, 0, 128, "Warning : Event '%s' invalid \n", entry->name);
      list.console()->printColored(64, 0, 128, " -> Error : %s\n", getRegExprError(entry->regExpr));
    }
  }
  out.setFromMatch(line, winner ? &winner->regExpr : nullptr);
  return winner ? winner->name : "[Unknown]";
}

void expectSameEvents(const std::string& eventsPath, const std::vector<std::string>& lines) {
  RecordingConsole oursConsole, referenceConsole;
  EventList ours(&oursConsole), reference(&referenceConsole);
  loadEventsFile(ours, eventsPath.c_str());
  loadEventsFile(reference, eventsPath.c_str());
  EventRecord got, expected;
  for (const std::string& line : lines) {
    oursConsole.prints.clear();
    referenceConsole.prints.clear();
    std::string name = ours.match(line.c_str(), got);
    ASSERT_EQ(referenceMatch(reference, line.c_str(), expected), name)
        << eventsPath << ": " << line.substr(0, 200);
    ASSERT_EQ(expected.count, got.count) << line.substr(0, 200);
    for (int i = 0; i < 2 * got.count; ++i) ASSERT_STREQ(expected.vars[i], got.vars[i]);
    ASSERT_EQ(referenceConsole.all(), oursConsole.all()) << line.substr(0, 200);
  }
}

TEST(EngineDifferentialTest, EventsFilesGiveTheSameEventsVariablesAndReports) {
  std::vector<std::string> lines = EventCorpus(20240605).lines(1500);
  std::vector<std::string> flood = chatbench::chatLines(1000);
  lines.insert(lines.end(), flood.begin(), flood.end());
  for (const std::string& seed : filesIn(source("fuzz/corpus/NevChatLine"))) {
    std::vector<std::string> seedLines = linesOf(readFile(seed));
    lines.insert(lines.end(), seedLines.begin(), seedLines.end());
  }
  std::vector<std::string> eventsFiles = {source("outside/events/nevchat.evt"),
                                          source("bench/chat.events")};
  for (const std::string& file : filesIn(source("fuzz/corpus/EventsFile")))
    eventsFiles.push_back(file);
  for (const std::string& file : eventsFiles) {
    std::vector<std::string> own = linesOf(readFile(file));
    // The 64 KB lines, slow for the reference, go through the two real events files only.
    std::vector<std::string> all;
    for (const std::string& line : lines)
      if (line.size() < 4096 || file.find("fuzz/") == std::string::npos) all.push_back(line);
    all.insert(all.end(), own.begin(), own.end());
    expectSameEvents(file, all);
  }
}

TEST(EngineDifferentialTest, RegExprFuzzSeedsGiveTheSameResultsAndSaves) {
  for (const std::string& seed : filesIn(source("fuzz/corpus/RegExpr"))) {
    std::string data = readFile(seed);
    if (data.empty()) continue;
    size_t length =
        std::min(static_cast<size_t>(static_cast<unsigned char>(data[0])), data.size() - 1);
    std::string pattern = data.substr(1, length);
    std::string text = data.substr(1 + length);
    expectSameMatch(pattern.c_str(), text.c_str());
  }
}

// Every pattern against every text: laziness, alternatives, repeats and their "not" forms,
// saves, back-references, classes with line ends, anchors, match-time errors and the search
// budgets (the last texts drive the nested repeats far).
TEST(EngineDifferentialTest, AwkwardPatternsGiveTheSameResultsAndSaves) {
  const char* const patterns[] = {
      "a+",
      "(a+)b",
      "{ab|a}(c*):(rest)",
      "(x)@!1",
      "a@!i1,2",
      "(a)%0",
      "(a):(n)%(n)",
      "%(n)x",
      "^b",
      "b$",
      "a$b",
      "/D/W[^a]",
      "[-a]",
      "[a-]",
      "[a|b]",
      "[a/|b]+",
      "a@x",
      "a@i4,2",
      "a@i2",
      "a@i,2",
      "{a|b}@i2,3c",
      "{a|}*b",
      "{(a|b)c}@e1,4",
      "(/w+):(nick) +(/d+):(n)/b",
      "[^ /n]+/n",
      "[/na]@2",
      "{x*}*y",
      "{a*}*b",
      "(.*):(t)$",
      "/b/B/b",
      "^{/d/d:}@2 (.)",
      "a@!+2b",
      "a@!-2b",
      "a@!e1,3b",
      "{a{b|c}+}?d",
      "(a|ab)(c|bcd):(x)(d*)",
      "./",
      "[a-c/]x]+",
      "[z-a]",
      "a?@3",
      "{/n|/r}+",
      "^$",
      "{{{{a}}}}*b",
      "x{x*}*y",
      "[xa]{x*}*z",
  };
  std::vector<std::string> texts = {
      "",        "a",         "aaa",          "aaab",     "abcd",        "y",    "xx",    "xxx",
      "aa",      "a\nb",      "ab$",          "xab",      "a$b",         "1a b", "-",     "a|b",
      "abcabc",  "Mira 42 x", "ab\r\ncd\r\n", "\r\n\r\n", "12:34:56 <x", "aab",  "abbbd", "aaaaad",
      "abcbcdd", "\n"};
  texts.push_back(std::string(3000, 'a'));
  texts.push_back(std::string(20000, 'x'));
  for (const char* pattern : patterns)
    for (const std::string& text : texts) expectSameMatch(pattern, text);
}

}  // namespace
