#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/CompassContainer.h"
#include "lib/RichEdit.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NicksWindow.h"
#include "plugins/NevChat/OutputSearch.h"
#include "plugins/NevChat/tests/SessionProbe.h"

namespace {

TEST(OutputSearchTest, SameTextGoesOnAndWrapsBothWays) {
  OutputSearch search;
  char lines[4][10] = {"alpha", "Beta one", "gamma", "beta two"};
  HistoryRecord history[4];
  std::vector<const HistoryRecord*> records;
  for (int i = 0; i < 4; ++i) {
    history[i] = {lines[i], i * 100, 10};
    records.push_back(&history[i]);
  }
  struct Step {
    const char* text;
    bool forward;
    OutputSearch::Result result;
    int start;
  };
  const Step steps[] = {
      {"  BETA ", true, OutputSearch::Found, 100},  // trimmed, any case
      {"beta", true, OutputSearch::Found, 300},     // the same text: the next record
      {"Beta", true, OutputSearch::Found, 100},     // past the end: wraps to the first
      {"beta", false, OutputSearch::Found, 300},    // backward from the hit wraps to the last
      {"beta", false, OutputSearch::Found, 100},
      {"mm", false, OutputSearch::Found, 202},  // a new text starts at the last record
      {"zeta", true, OutputSearch::NotFound, -1},
      {"   ", true, OutputSearch::Empty, -1},
      {nullptr, true, OutputSearch::Cleared, -1},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(step.result, search.find(step.text, step.forward, records))
        << (step.text ? step.text : "-");
    EXPECT_EQ(step.start, search.hitStart()) << (step.text ? step.text : "-");
  }
  search.find("alpha", true, records);
  records.clear();  // the history emptied
  EXPECT_EQ(OutputSearch::NotFound, search.find("alpha", true, records)) << "no records, no hit";
  EXPECT_FALSE(search.hasHit());
}

TEST_F(ChatWindowTest, StyledLinesTopicAndChannel) {
  EXPECT_EQ(host.tab, GetParent(session.getContainer()->getHwnd()));
  session.setTextColor("shout")->setTextFont("block")->printStyled("%s\n", "hi :)");
  session.setTextColor("normal")->printStyled("next");
  EXPECT_EQ("hi [pic]\rnext", shown(session.getOutput()->getHwnd()));

  session.setTopic("news of the day\r\nsecond line");
  EXPECT_EQ("news of the day", shown(session.getTopicWindow()->getHwnd()));
  session.onFontChanged("topic");
  EXPECT_EQ("news of the day", shown(session.getTopicWindow()->getHwnd()));

  settings->login.assign("alice");
  session.getNicks()->addNick("alice");
  session.setChannel("Dessin");
  EXPECT_EQ("alice (Dessin)", host.tabTexts.back());
  EXPECT_STREQ("Dessin", session.getNicks()->first()->channel) << "the own entry follows";
}

TEST_F(ChatWindowTest, FunctionKeysFromAnyWindow) {
  CompassContainer* container = session.getContainer();
  HWND output = session.getOutput()->getHwnd();
  vorntest::pressKey(output, VK_F1 + 5);  // F6
  EXPECT_FALSE(container->isRegionShown(CompassContainer::East));
  vorntest::pressKey(session.getInput()->getHwnd(), VK_F1 + 6);  // F7
  EXPECT_FALSE(container->isRegionShown(CompassContainer::North));
  vorntest::pressKey(session.getNicks()->getHwnd(), VK_F1 + 5);
  EXPECT_TRUE(container->isRegionShown(CompassContainer::East));
  vorntest::pressKey(output, VK_F1 + 8);  // F9
  EXPECT_EQ(1, host.connects);
  host.takenKey = VK_F1 + 8;
  vorntest::pressKey(output, VK_F1 + 8);
  EXPECT_EQ(1, host.connects) << "a key the host takes ends there";
}

TEST_F(ChatWindowTest, SearchMarksTheHitAndSaysWhenThereIsNone) {
  RichEdit* output = session.getOutput();
  for (const char* line : {"one apple\n", "two pears\n", "three apples\n"})
    feedEvent(session, "shout", line);
  auto backgroundAt = [&](int pos) { return ChatWindowTest::backgroundAt(output->getHwnd(), pos); };
  session.getInput()->runCommand("/search APPLE");
  EXPECT_EQ(host.colours["backaway"], backgroundAt(4)) << "'apple' in the first line";
  session.getInput()->runCommand("/search apple");
  EXPECT_EQ(CLR_INVALID, backgroundAt(4)) << "the old hit gets the automatic background back";
  EXPECT_EQ(host.colours["backaway"], backgroundAt(20 + 6));
  session.search("kiwi", true);
  ASSERT_FALSE(host.console.empty());
  EXPECT_EQ("<Vornith 2.0> Search 'kiwi' : No result !\n", host.console.back());
}

TEST_F(ChatWindowTest, OldestLinesGoAndTheHistoryFollows) {
  NevChatTestAccess::limitLines(session, 4, 1);
  auto feedLine = [&](int i) {
    std::string line = "line " + std::to_string(i) + (i % 6 == 1 || i == 9 ? " apple\n" : "\n");
    feedEvent(session, "shout", line.c_str());
  };
  for (int i = 0; i < 4; ++i) feedLine(i);
  session.search("apple", true);  // the hit in line 1, which is going to go
  for (int i = 4; i < 10; ++i) feedLine(i);

  HWND pane = session.getOutput()->getHwnd();
  std::string text = shown(pane);
  EXPECT_EQ("line 6\rline 7 apple\rline 8\rline 9 apple", text);
  std::vector<std::string> kept;
  for (ListNode<HistoryRecord>* node = session.getSearchHistory().headNode(); node != nullptr;
       node = node->next) {
    std::string line(node->value.text);
    line.pop_back();  // its break is a paragraph mark in the pane
    kept.push_back(line);
    EXPECT_EQ(line, text.substr(static_cast<size_t>(node->value.start), line.size()));
  }
  EXPECT_EQ((std::vector<std::string>{"line 6", "line 7 apple", "line 8", "line 9 apple"}), kept);

  // The forgotten hit: the same text starts again at the oldest line left.
  session.search("apple", true);
  EXPECT_EQ(host.colours["backaway"], backgroundAt(pane, 14)) << text;
  EXPECT_EQ(CLR_INVALID, backgroundAt(pane, 34));
}

TEST_F(ChatWindowTest, ALongLineShowsItsFirstBytesAndItsEventKeepsItWhole) {
  std::string line = std::string(10000, 'x') + " tail\n";
  feedEvent(session, "shout", line.c_str());
  feedEvent(session, "shout", "after\n");
  EXPECT_EQ(std::string(StyledOutput::ParagraphShown, 'x') + StyledOutput::kCutMark + "\rafter",
            shown(session.getOutput()->getHwnd()));
  ListNode<HistoryRecord>* first = session.getSearchHistory().headNode();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(line, first->value.text) << "the search goes through the whole line";
}

}  // namespace
