// The event list's reports reach the program's system console when it is given no console.
#include <string>
#include <vector>

#include "host/Console.h"
#include "host/EventConsole.h"
#include "host/EventList.h"
#include "lib/RichEdit.h"
#include "lib/tests/ToolkitFixture.h"

namespace {

class EventConsoleTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    if (lacksClass("RichEdit20A")) GTEST_SKIP() << "no RichEdit20A control in this build";
    pane = new RichEdit("console", 0);
    pane->createIn(panel);
    pane->move(0, 0, 600, 200);
    setSystemColor(RGB(0, 0, 0));
    setConsole(pane);
  }
  void TearDown() override {
    setConsole(nullptr);
    delete pane;
    ControlTest::TearDown();
  }
  // Each run as "text #colour" (the colour as the pane stores it, blue first).
  std::vector<std::string> runs() {
    std::vector<std::string> out;
    char colour[16];
    for (const auto& run : vorntest::richEditRuns(pane->getHwnd())) {
      snprintf(colour, sizeof colour, " #%06x", run.colour);
      out.push_back(run.text + colour);
    }
    return out;
  }

  RichEdit* pane = nullptr;
};

TEST_F(EventConsoleTest, ListWithoutConsoleReportsOnTheSystemConsole) {
  EventList list;
  EXPECT_FALSE(list.addEvent("bad%s", "{a%d"));
  // The pane keeps paragraph ends as CR.
  EXPECT_EQ(
      (std::vector<std::string>{
          "Event Error : Invalid regexpr !\r #000080", "- Name  : bad%s\r- Event : {a%d\r #000000",
          "=> '}' needed. A multiple expression must be closed !!\r\r #800000"}),
      runs());
}

TEST_F(EventConsoleTest, ExplicitNullConsoleStaysSilent) {
  EventList list(nullptr);
  EXPECT_FALSE(list.addEvent("bad", "{a"));
  EXPECT_TRUE(runs().empty());
}

}  // namespace
