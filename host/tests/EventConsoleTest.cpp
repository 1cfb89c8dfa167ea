// The event list's reports reach the program's system console when it is given no console.
#include <string>
#include <vector>

#include "host/EventConsole.h"
#include "host/EventList.h"
#include "host/tests/ConsolePane.h"

namespace {

class EventConsoleTest : public ConsolePaneTest {};

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
