// The system console on a pane of its own: coloured runs, the length cut, the event list's
// reports, and the plug-in fault box with the "(unknown)" fallbacks and the unload that follows.
#include <stdexcept>

#include "host/EventList.h"
#include "host/tests/ConsolePane.h"

namespace {

class ConsoleTest : public ConsolePaneTest {};

TEST_F(ConsoleTest, TextGoesToThePaneInTheColourSetBeforeItAndIsCutTo8191Characters) {
  setConsole(nullptr);
  setSystemColorRgb(128, 0, 0);
  printSystem("lost");  // without a pane the text is dropped, its colour is not
  setConsole(pane);
  printSystem("failed (%d)", 7);
  setSystemColor(RGB(0, 64, 255));
  printSystem(" done");
  EXPECT_EQ((Lines{"failed (7) #000080", " done #ff4000"}), runs());
  clearConsole();
  std::string longText(9000, 'x');
  printSystem("%s", longText.c_str());
  EXPECT_EQ(8191, pane->getTextLength());
  printSystem("%s", longText.substr(0, 8191).c_str());
  EXPECT_EQ(2 * 8191, pane->getTextLength()) << "exactly 8191 is kept whole";
}

TEST_F(ConsoleTest, AnEventListWithoutConsoleReportsOnTheSystemConsoleAndANullOneIsSilent) {
  EventList list;
  EXPECT_FALSE(list.addEvent("bad%s", "{a%d"));
  EXPECT_EQ((Lines{"Event Error : Invalid regexpr !\n #000080",
                   "- Name  : bad%s\n- Event : {a%d\n #000000",
                   "=> '}' needed. A multiple expression must be closed !!\n\n #800000"}),
            runs());
  clearConsole();
  EventList silent(nullptr);
  EXPECT_FALSE(silent.addEvent("bad", "{a"));
  EXPECT_TRUE(runs().empty());
}

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

TEST(CriticalError, BoxTextNamesThePlugAndTheUnloadFollowsOnlyWhenAsked) {
  const std::string rule(79, '-');
  const struct {
    FakePlug::Answer name, author;
    bool unload, withUnloader;
    const char *shownName, *shownAuthor;
  } cases[] = {
      {FakePlug::Answers, FakePlug::Answers, false, true, "Tray", "Ann Author"},
      {FakePlug::Answers, FakePlug::Answers, true, true, "Tray", "Ann Author"},
      {FakePlug::Throws, FakePlug::Answers, true, true, "(unknown)", "Ann Author"},
      {FakePlug::Answers, FakePlug::Throws, false, true, "Tray", "(unknown)"},
      {FakePlug::Null, FakePlug::Throws, true, false, "(unknown)", "(unknown)"},
      {FakePlug::Faults, FakePlug::Answers, true, true, "(unknown)", "Ann Author"},
      {FakePlug::Answers, FakePlug::Faults, false, true, "Tray", "(unknown)"},
  };
  for (const auto& c : cases) {
    FakePlug plug(c.name, c.author);
    RecordingUnloader unloader;
    vorntest::clearMessageBoxes();
    vorntest::answerNextMessageBox(IDOK);
    reportPluginCriticalError(&plug, "onEvent", c.unload, c.withUnloader ? &unloader : nullptr);
    auto boxes = vorntest::shownMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Plugin's Critical Error !!!", boxes[0].caption);
    EXPECT_EQ(UINT(MB_ICONHAND | MB_OK), boxes[0].flags);
    EXPECT_EQ("VORNITH' PLUGIN CRITICAL ERROR\n" + rule +
                  "\n\nA critical error has been dected in the plugin '" + c.shownName +
                  "'.\nCalling the method : 'onEvent'\nRefer this error to " + c.shownAuthor +
                  "\n" + (c.unload ? "\nThis plug is going to be unloaded.\n" : "") + "\n" + rule +
                  "\n",
              boxes[0].text);
    EXPECT_EQ(c.unload && c.withUnloader ? 1u : 0u, unloader.unloaded.size());
  }
  vorntest::clearMessageBoxes();
}

}  // namespace
