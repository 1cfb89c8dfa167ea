// A logout's SIGTERM while a modal dialog is up on a desktop: the dialog ends as cancelled, the
// program quits within seconds and writes its settings. The save dialog of a file offer, which
// has no owner, leaves the chat input taking text and the main window's menu working.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/desktop/DesktopTest.h"

namespace {

using WindowId = DesktopDisplay::WindowId;

const char* const kSaveTitle = "Select File ... - carol wants to transfert file report.txt (29.30 KB)";
const int kKillItem = 9;  // of the client's menu
const int kQuitItem = 7;  // of the System menu

class ModalEndTest : public DesktopTest {
 protected:
  // The program's process: the one running the copy's executable.
  pid_t programPid() {
    std::string executable = session.programFolder() + "/vornith";
    DIR* processes = opendir("/proc");
    if (processes == nullptr) return -1;
    pid_t found = -1;
    while (dirent* entry = readdir(processes)) {
      char target[4096];
      std::string link = std::string("/proc/") + entry->d_name + "/exe";
      ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
      if (length <= 0) continue;
      target[length] = '\0';
      if (executable == target) found = static_cast<pid_t>(std::atoi(entry->d_name));
    }
    closedir(processes);
    return found;
  }

  // Offers come from carol until the add-in, still loading, brings the save dialog up; then
  // more wait behind it.
  WindowId offerFiles(int count) {
    clickSystemCommandLine();
    if (!session.typeLine("/add demo vfile")) return 0;
    WindowId dialog = 0;
    for (int id = 0; id < count || dialog == 0; ++id) {
      if (id >= count + 5) return 0;
      fromServer("[data] carol [Varazir][Send][report.txt][30000][" + std::to_string(id) +
                 "][127.0.0.1][9][secret]");
      if (dialog == 0) dialog = session.waitForWindow(kSaveTitle, 3000);
    }
    session.waitUntilStill(session.display().geometry(dialog), 3000);
    return dialog;
  }

  // SIGTERM as a logout sends it: the program ends at once, normally, with its settings.
  void expectTerminationSaves() {
    pid_t pid = programPid();
    ASSERT_GT(pid, 0) << "the program's process is not found";
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    ASSERT_TRUE(session.programEnded(5000)) << "the program still runs 5 s after SIGTERM";
    EXPECT_EQ(session.setting("Vornith.ini", "System", "System Tabs Style"), "0");
    EXPECT_EQ(session.setting("Vornith.ini", "demo", "Server0"),
              "127.0.0.1:" + std::to_string(session.server().port()));
    EXPECT_EQ(session.setting("Plugs.ini", "demo", "Font normal name"), "VT100");
  }
};

TEST_F(ModalEndTest, SigtermWhileOffersWaitForTheSaveDialogQuitsAndSaves) {
  ASSERT_NE(offerFiles(3), 0u) << "no save dialog came up";
  expectTerminationSaves();
  for (const std::string& line : session.received())
    EXPECT_EQ(line.find("[Accept]"), std::string::npos) << line;
}

// The box asks about the client with the main window as its owner; the end answers No.
TEST_F(ModalEndTest, SigtermWhileAMessageBoxAsksQuitsWithTheCancellingAnswer) {
  ASSERT_TRUE(session.chooseMenuItem(session.main().clientMenu(), kKillItem));
  ASSERT_NE(session.waitForWindow("Kill Action"), 0u) << "no question came up";
  expectTerminationSaves();
}

TEST_F(ModalEndTest, TheChatInputTakesTextAndTheMenuQuitsWhileTheSaveDialogIsUp) {
  WindowId dialog = offerFiles(1);
  ASSERT_NE(dialog, 0u) << "no save dialog came up";
  MainLayout main = session.main();
  ASSERT_TRUE(session.input().click(main.chatTab()));
  ASSERT_TRUE(session.input().click(main.inputLine()));
  ASSERT_TRUE(session.typeLine("still chatting"));
  EXPECT_TRUE(receives("still chatting"));
  EXPECT_NE(session.display().findWindow(kSaveTitle), 0u) << "the save dialog went away";
  // The main window's menu quits too: the quit ends the dialog, as on Win32.
  ASSERT_TRUE(session.chooseMenuItem(main.systemMenu(), kQuitItem));
  EXPECT_TRUE(session.programEnded(5000)) << "the program waits for the save dialog";
}

}  // namespace
