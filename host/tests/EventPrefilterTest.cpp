// The event list with its prefilters names the same events with the same variables as the full
// search of every pattern, over the benchmark's events file and corpus and the fuzz seeds' files.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/EventList.h"
#include "host/EventsFile.h"
#include "host/tests/EventCorpus.h"
#include "host/tests/EventsTestConsole.h"

namespace {

std::string describe(const char* name, const EventRecord& record) {
  std::string text = name;
  for (int i = 0; i < 2 * record.count; ++i)
    text += std::string("|") + (record.vars[i] ? record.vars[i] : "(null)");
  return text;
}

// Returns how many texts got a named event.
int expectSameEvents(const std::filesystem::path& file, const std::vector<std::string>& texts) {
  RecordingConsole fastConsole, fullConsole;
  EventList fast(&fastConsole), full(&fullConsole);
  full.setPrefiltering(false);
  loadEventsFile(fast, file.string().c_str());
  loadEventsFile(full, file.string().c_str());
  EventRecord a, b;
  int named = 0;
  for (const std::string& text : texts) {
    std::string fastEvent = describe(fast.match(text.c_str(), a), a);
    std::string fullEvent = describe(full.match(text.c_str(), b), b);
    EXPECT_EQ(fastEvent, fullEvent) << file << " line " << text.substr(0, 80);
    if (fastEvent != fullEvent) break;
    named += fastEvent[0] != '[';
  }
  // Reports of patterns that fail while matching come out the same.
  EXPECT_EQ(fastConsole.all(), fullConsole.all()) << file;
  return named;
}

TEST(EventPrefilterTest, SameEventsAsTheFullSearch) {
  const std::filesystem::path root = std::filesystem::path(__FILE__).parent_path() / "../..";
  std::vector<std::string> texts = EventCorpus(20240605).lines(20000);
  for (const char* extra : {"", "\n", "Mira tells you: hi\r\n", "x\nMira tells you: hi\n",
                            "Password:", "\xff\xfe odd bytes \x80\n", "a\n\n", "* \n"})
    texts.push_back(extra);
  // Most of the traffic is named, so the winners' variables are compared too.
  EXPECT_GT(expectSameEvents(root / "bench/chat.events", texts), 15000);
  int seeds = 0;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(root / "fuzz/corpus/EventsFile", error)) {
    expectSameEvents(entry.path(), texts);
    ++seeds;
  }
  EXPECT_GE(seeds, 1);
}

}  // namespace
