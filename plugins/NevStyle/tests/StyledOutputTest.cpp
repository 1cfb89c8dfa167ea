#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "lib/RichEdit.h"
#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"
#include "plugins/NevStyle/StyledOutput.h"
#include "sdk/PlugsModule.h"
#include "sdk/PlugsSession.h"

namespace {

// The host as far as the styled output asks it: two colours, one font, a console.
struct StyleHost {
  std::vector<std::string> console;
  COLORREF consoleColour = 0;
  int highlights = 0;
};
StyleHost* styleHost = nullptr;

SdkFunctions styleTable() {
  SdkFunctions t{};
  t.size = sizeof(SdkFunctions);
  t.setSystemColor = [](int r, int g, int b) { styleHost->consoleColour = RGB(r, g, b); };
  t.printSystemV = [](const char* f, va_list a) {
    char text[512];
    vsnprintf(text, sizeof text, f, a);
    styleHost->console.push_back(text);
  };
  t.highlightSystemTab = [](HWND, bool on) { styleHost->highlights += on; };
  t.getColor = [](PlugsObject*, const char* key) -> COLORREF {
    return std::string(key) == "red" ? RGB(200, 0, 0) : RGB(0, 0, 0);
  };
  t.getFont = [](PlugsObject*, const char* key) -> FontRecord {
    if (std::string(key) == "block") return {"Courier", 7, 2};
    return {nullptr, 0, 0};
  };
  return t;
}

class StyledOutputTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    styleHost = &host;
    plugsSetHandlers(&table, sizeof(SdkFunctions));
    pane.createIn(panel);
    styled.setOutput(&pane, "Lucida Console", 8);
    styled.bindFlags(&withEmptyLine, &emoticons, &doubles);
    styled.setTab(reinterpret_cast<HWND>(0x51));
  }
  void TearDown() override {
    pane.destroy();
    clearPlugsHostTable();
    styleHost = nullptr;
    ControlTest::TearDown();
  }
  // The pane as read: breaks as "\r", pictures as "[pic]" each.
  std::string shown() {
    std::string out;
    for (const vorntest::RichTextRun& run : vorntest::richEditRuns(pane.getHwnd())) {
      if (!run.picture) out += run.text;
      for (size_t i = 0; run.picture && i < run.text.size(); ++i) out += "[pic]";
    }
    return out;
  }

  StyleHost host;
  SdkFunctions table = styleTable();
  PlugsSession session{"alice"};
  RichEdit pane{"out", 0};
  StyledOutput styled{&session};
  unsigned char withEmptyLine = 0, emoticons = 0, doubles = 0;
};

TEST_F(StyledOutputTest, TrailingBreakWaitsForTheNextText) {
  styled.print("%s\n", "one");
  EXPECT_EQ("one", shown()) << "the last line never ends in an empty line";
  EXPECT_TRUE(styled.hasPendingNewline());
  styled.print("%s", "");
  EXPECT_EQ("one", shown()) << "an empty print changes nothing";
  styled.print("two\r\n");
  EXPECT_EQ("one\rtwo", shown()) << "CR LF is held back as one break";
  styled.print("three\n\n");
  styled.print("four");
  EXPECT_EQ("one\rtwo\rthree\rfour", shown()) << "a second break before the last goes too";
  EXPECT_FALSE(styled.hasPendingNewline());
  styled.print("\n");
  EXPECT_TRUE(styled.hasPendingNewline());
  EXPECT_EQ("one\rtwo\rthree\rfour", shown());
  EXPECT_EQ(4, host.highlights) << "every print that leaves text highlights the tab";
}

TEST_F(StyledOutputTest, WithEmptyLineKeepsTheTextAsItIs) {
  withEmptyLine = 1;
  styled.print("one\n");
  styled.print("two\n\n");
  EXPECT_EQ("one\rtwo\r\r", shown());
  EXPECT_FALSE(styled.hasPendingNewline());
}

TEST_F(StyledOutputTest, ALongParagraphShowsItsFirstBytesAndTheCutMark) {
  const std::string bound(StyledOutput::ParagraphShown, 'x');
  styled.print("%s\n", std::string(10000, 'x').c_str());
  styled.print("next");
  EXPECT_EQ(bound + StyledOutput::kCutMark + "\rnext", shown())
      << "cut once, and the line break past the buffer is kept";
  styled.printText("\n");
  pane.clear();
  for (int i = 0; i < 40; ++i) styled.printText(std::string(1000, 'y').c_str());
  styled.printText("\nafter");
  EXPECT_EQ(std::string(StyledOutput::ParagraphShown, 'y') + StyledOutput::kCutMark + "\rafter",
            shown())
      << "a paragraph that grows without a break is bounded as a whole";
  styled.printText("\n");
  pane.clear();
  styled.printText((std::string(StyledOutput::ParagraphShown - 1, 'z') + "\xC3\xA9").c_str());
  EXPECT_EQ(std::string(StyledOutput::ParagraphShown - 1, 'z') + StyledOutput::kCutMark, shown())
      << "never half a character";
}

TEST_F(StyledOutputTest, UnknownFontIsReportedInRedAndTheFontStays) {
  ASSERT_TRUE(styled.setTextFont("block"));
  EXPECT_FALSE(styled.setTextFont("system"));
  ASSERT_EQ(1u, host.console.size());
  EXPECT_EQ("NevChat Error : Font 'system' Unknown !", host.console[0]);
  EXPECT_EQ(RGB(255, 0, 0), host.consoleColour);
  styled.setTextColor("red");
  styled.print("x");
  std::vector<vorntest::RichTextRun> runs = vorntest::richEditRuns(pane.getHwnd());
  ASSERT_FALSE(runs.empty());
  EXPECT_EQ("Courier", runs[0].face);
  EXPECT_EQ(7, runs[0].pointSize);
  EXPECT_TRUE(runs[0].bold);
  EXPECT_EQ(RGB(200, 0, 0), runs[0].colour);
}

TEST_F(StyledOutputTest, EmoticonsBecomePicturesOnlyWhenEnabled) {
  styled.printText("hi :) there");
  EXPECT_EQ("hi :) there", shown()) << "off: as it is";
  pane.clear();
  emoticons = 1;
  styled.printText("hi :) there :))");
  EXPECT_EQ("hi :) there :))", shown()) << "no pictures loaded: the rest stays text";
  pane.clear();
  ASSERT_TRUE(styled.pictures().load(GetModuleHandleA(nullptr)));  // the program as the module
  styled.printText("hi :) there :))");
  EXPECT_EQ("hi [pic] there [pic])", shown());
  pane.clear();
  doubles = 1;
  styled.printText(":))x;)");
  EXPECT_EQ("[pic]x;)", shown()) << "after a letter the wink stays text";
}

TEST_F(StyledOutputTest, PastSixtyFourPicturesALinesEmoticonsStayText) {
  emoticons = 1;
  ASSERT_TRUE(styled.pictures().load(GetModuleHandleA(nullptr)));
  std::string smileys;
  for (int i = 0; i < 70; ++i) smileys += ":)";
  styled.printText(smileys.substr(0, 40).c_str());
  styled.printText((smileys.substr(40) + "\n:)").c_str());
  std::string pictures;
  for (int i = 0; i < StyledOutput::PicturesPerParagraph; ++i) pictures += "[pic]";
  EXPECT_EQ(pictures + ":):):):):):)\r[pic]", shown()) << "the count starts again on a new line";
}

TEST_F(StyledOutputTest, TheScrollbackKeepsItsMostRecentBytes) {
  std::vector<int> trims;
  styled.setTrimListener([&](int removed) { trims.push_back(removed); });
  styled.setLineLimit(0, 1);
  styled.setByteLimit(1000);
  char line[128];
  for (int i = 0; i < 30; ++i) {
    std::snprintf(line, sizeof line, "line %02d %s\n", i, std::string(90, '.').c_str());
    styled.print("%s", line);
  }
  std::string text = shown();
  EXPECT_LE(text.size(), 1200u);
  EXPECT_GE(text.size(), 900u);
  EXPECT_EQ(0u, text.find("line ")) << "cut at a paragraph's start";
  EXPECT_NE(std::string::npos, text.find("line 29 ")) << "the newest line stays";
  EXPECT_FALSE(trims.empty());
}

}  // namespace
