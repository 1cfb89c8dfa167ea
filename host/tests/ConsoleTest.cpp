// The system console on a pane of its own: coloured runs, the length cut, and the plug-in
// fault box with its exact text, the "(unknown)" fallbacks and the unload that follows.
#include <stdexcept>
#include <string>
#include <vector>

#include "host/tests/ConsolePane.h"

namespace {

class ConsoleTest : public ConsolePaneTest {};

TEST_F(ConsoleTest, TextGoesToThePaneInTheColourSetBeforeIt) {
  printSystem("Loading %s ", "Tray");
  setSystemColorRgb(128, 0, 0);
  printSystem("failed (%d)", 7);
  setSystemColor(RGB(0, 64, 255));
  printSystem(" done");
  EXPECT_EQ(
      (std::vector<std::string>{"Loading Tray  #000000", "failed (7) #000080", " done #ff4000"}),
      runs());
}

TEST_F(ConsoleTest, ColourAndTextWithoutAPane) {
  setConsole(nullptr);
  setSystemColorRgb(192, 0, 0);
  printSystem("lost");
  setConsole(pane);
  printSystem("kept");
  EXPECT_EQ(std::vector<std::string>{"kept #0000c0"}, runs())
      << "text without a pane is dropped, its colour is not";
}

TEST_F(ConsoleTest, LongTextIsCutTo8191Characters) {
  std::string longText(9000, 'x');
  printSystem("%s", longText.c_str());
  EXPECT_EQ(8191, pane->getTextLength());
  printSystem("%s", longText.substr(0, 8191).c_str());
  EXPECT_EQ(2 * 8191, pane->getTextLength()) << "exactly 8191 is kept whole";
}

TEST(HostVersion, IsTwo) { EXPECT_EQ(2.0f, getHostVersion()); }

const char* const* volatile nowhere = nullptr;

// A plug-in whose getters answer, return null, throw or fault, as asked.
class FakePlug : public FaultyPlug {
 public:
  enum Answer { Answers, Null, Throws, Faults };
  FakePlug(Answer name, Answer author) : name_(name), author_(author) {}
  const char* plugName() override { return answer(name_, "Tray"); }
  const char* plugAuthor() override { return answer(author_, "Ann Author"); }

 private:
  // Kept from the undefined-behaviour checker so the fault itself happens.
  __attribute__((no_sanitize("undefined"))) static const char* answer(Answer how,
                                                                      const char* text) {
    if (how == Throws) throw std::runtime_error("fault");
    if (how == Faults) return *nowhere;
    return how == Null ? nullptr : text;
  }
  Answer name_, author_;
};

class RecordingUnloader : public PlugUnloader {
 public:
  bool unloadPlug(FaultyPlug* plug) override {
    unloaded.push_back(plug);
    return true;
  }
  std::vector<FaultyPlug*> unloaded;
};

const std::string rule(79, '-');

std::string boxText(const char* name, const char* method, const char* author, bool unload) {
  return "VORNITH' PLUGIN CRITICAL ERROR\n" + rule +
         "\n\nA critical error has been dected in the plugin '" + name +
         "'.\nCalling the method : '" + method + "'\nRefer this error to " + author + "\n" +
         (unload ? "\nThis plug is going to be unloaded.\n" : "") + "\n" + rule + "\n";
}

TEST(CriticalError, BoxTextNamesThePlugAndTheUnloadFollowsOnlyWhenAsked) {
  struct Case {
    FakePlug::Answer name, author;
    bool unload, withUnloader;
    const char *shownName, *shownAuthor;
  };
  const Case cases[] = {
      {FakePlug::Answers, FakePlug::Answers, false, true, "Tray", "Ann Author"},
      {FakePlug::Answers, FakePlug::Answers, true, true, "Tray", "Ann Author"},
      {FakePlug::Throws, FakePlug::Answers, true, true, "(unknown)", "Ann Author"},
      {FakePlug::Answers, FakePlug::Throws, false, true, "Tray", "(unknown)"},
      {FakePlug::Null, FakePlug::Throws, true, false, "(unknown)", "(unknown)"},
      {FakePlug::Faults, FakePlug::Answers, true, true, "(unknown)", "Ann Author"},
      {FakePlug::Answers, FakePlug::Faults, false, true, "Tray", "(unknown)"},
  };
  for (const Case& c : cases) {
    FakePlug plug(c.name, c.author);
    RecordingUnloader unloader;
    vorntest::clearMessageBoxes();
    vorntest::answerNextMessageBox(IDOK);
    reportPluginCriticalError(&plug, "onEvent", c.unload, c.withUnloader ? &unloader : nullptr);
    auto boxes = vorntest::shownMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(nullptr, boxes[0].owner);
    EXPECT_EQ("Plugin's Critical Error !!!", boxes[0].caption);
    EXPECT_EQ(UINT(MB_ICONHAND | MB_OK), boxes[0].flags);
    EXPECT_EQ(boxText(c.shownName, "onEvent", c.shownAuthor, c.unload), boxes[0].text);
    bool unloaded = c.unload && c.withUnloader;
    EXPECT_EQ(unloaded ? std::vector<FaultyPlug*>{&plug} : std::vector<FaultyPlug*>{},
              unloader.unloaded);
  }
  vorntest::clearMessageBoxes();
}

}  // namespace
