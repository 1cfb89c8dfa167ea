// The session over the fake host: offers made from user events, every hostile offer and
// accept refused with its line, waiting offers bounded and holding no thread or socket, both
// kinds of incoming offer carried through the save dialog (which says who offers what and
// starts in the download folder) to a finished file, and an end that drops waiting offers.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/TempFolder.h"
#include "tests/support/FakeHost.h"
#include "plugins/vfile/FileTransferSession.h"
#include "plugins/vfile/TransferNames.h"
#include "plugins/vfile/TransferSettings.h"
#include "plugins/vfile/tests/RecordingLines.h"

namespace {

// How many entries a /proc folder lists: the process's threads or open descriptors.
size_t entriesOf(const char* path) {
  size_t count = 0;
  DIR* folder = opendir(path);
  while (folder != nullptr && readdir(folder) != nullptr) ++count;
  if (folder != nullptr) closedir(folder);
  return count;
}

class FileTransferSessionTest : public ::testing::Test {
 protected:
  FileTransferSessionTest() {
    const char* home = getenv("HOME");
    if (home != nullptr) oldHome = home;
    setenv("HOME", folder.path().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    transferSettings().addressOverride = "127.0.0.1";
    session.init();
    folder.write("a.txt", std::string(50000, 'a'));
  }
  ~FileTransferSessionTest() override {
    session.term();
    vorntest::clearDialogs();
    setenv("HOME", oldHome.c_str(), 1);
  }

  void sendFile(const std::string& data) {
    session.onUserEvent("NevChat", "sendfile", const_cast<char*>(data.c_str()));
  }
  std::string lastConsole() { return host.console.empty() ? "" : host.console.back(); }
  bool waitFor(const std::function<bool()>& done) { return vorntest::pumpUntil(done, 5000); }

  // An offer of f.bin from nick, without address or with one.
  void offerFrom(const std::string& nick, int id, bool withAddress) {
    host.sent.clear();
    std::string number = std::to_string(id);
    Vars vars = {{"nick", nick.c_str()}, {"filename", "f.bin"}, {"size", "10"},
                 {"id", number.c_str()}};
    if (withAddress)
      vars.insert(vars.end(), {{"ip", "127.0.0.1"}, {"port", "9"}, {"password", "secret12"}});
    feedAddin(session, withAddress ? "vfilesendserver" : "vfilesend", vars);
  }

  FakeHost host;
  TempFolder folder;
  std::string oldHome;
  FileTransferSession session{"alice"};
};

TEST_F(FileTransferSessionTest, SendFileOffersAListeningTransferWithRisingIds) {
  sendFile("bob:" + folder.file("a.txt"));
  ASSERT_EQ(1u, session.getTransfers().size());
  const Transfer& first = *session.getTransfers()[0];
  std::string fields = "[a.txt][50000][0][127.0.0.1][" + std::to_string(first.port()) + "][" +
                       first.password() + "]";
  EXPECT_EQ("senddata bob [Varazir][Send]" + fields + "\n", host.sent);
  EXPECT_EQ("bob:" + folder.file("a.txt") + "\n", host.console[0]);
  EXPECT_EQ("Sending as server file \"senddata bob [Varazir][Send]" + fields + "\"\n",
            host.console[1]);

  host.sent.clear();
  sendFile("carol:" + folder.file("a.txt"));
  EXPECT_EQ(1, session.getTransfers()[1]->id());
  EXPECT_EQ(0u, host.sent.find("senddata carol [Varazir][Send][a.txt][50000][1][")) << host.sent;

  // Nothing is offered for an empty or missing file, a name with a line break, or a nick
  // that would break the command line; other user events do nothing.
  host.sent.clear();
  folder.write("empty", "");
  folder.write("two\nlines", "x");
  sendFile("bob:" + folder.file("empty"));
  sendFile("bob:" + folder.file("missing"));
  sendFile("bob:" + folder.file("two\nlines"));
  EXPECT_EQ("Cannot offer this file: its name holds a line break\n", lastConsole());
  sendFile("bo b:" + folder.file("a.txt"));
  session.onUserEvent("NevChat", "nbfiles", const_cast<char*>("3"));
  session.onUserEvent("NevChat", "sendfile", nullptr);
  EXPECT_EQ("", host.sent);
  EXPECT_EQ(2u, session.getTransfers().size());

  // A bare nick asks for the file from the message loop.
  vorntest::answerNextFileDialog(folder.file("a.txt").c_str());
  sendFile("dave");
  EXPECT_EQ("", host.sent) << "no dialog inside the user event";
  ASSERT_TRUE(waitFor([&] { return !host.sent.empty(); }));
  EXPECT_EQ(0u, host.sent.find("senddata dave [Varazir][Send][a.txt][50000][2][")) << host.sent;
  ASSERT_FALSE(vorntest::shownFileDialogs().empty());
  EXPECT_FALSE(vorntest::shownFileDialogs()[0].save);
  EXPECT_EQ("Select File ...", vorntest::shownFileDialogs()[0].title);
}

TEST_F(FileTransferSessionTest, AcceptsCountOnlyFromTheOfferedNickForTheirKindAndOnce) {
  sendFile("bob:" + folder.file("a.txt"));
  host.console.clear();
  EXPECT_TRUE(feedAddin(session, "vfileaccept", {{"nick", "eve"}, {"id", "0"}}));
  EXPECT_EQ("evt:vfileaccept ... id not in queue\n", lastConsole());
  feedAddin(session, "vfileacceptserver",
       {{"nick", "bob"}, {"id", "0"}, {"ip", "127.0.0.1"}, {"port", "4000"}, {"password", "x"}});
  EXPECT_EQ("evt:vfileacceptserver ...id not found\n", lastConsole());
  feedAddin(session, "vfileaccept", {{"nick", "bob"}, {"id", "1"}});
  feedAddin(session, "vfileaccept", {{"nick", "bob"}, {"id", "0x"}});
  EXPECT_FALSE(session.getTransfers()[0]->isResumed());

  feedAddin(session, "vfileaccept", {{"nick", "BOB"}, {"id", "0"}});
  EXPECT_TRUE(session.getTransfers()[0]->isResumed());
  EXPECT_EQ(0u, lastConsole().find("evt:vfileaccept from BOB sending " + folder.file("a.txt") +
                                   "(50000 bytes)[id:0] , from 127.0.0.1:"));
  feedAddin(session, "vfileaccept", {{"nick", "bob"}, {"id", "0"}});
  EXPECT_EQ("evt:vfileaccept ... id not in queue\n", lastConsole());

  // A refusal closes only a transfer of the nick it was offered to.
  sendFile("carol:" + folder.file("a.txt"));
  feedAddin(session, "vfilerefuse", {{"nick", "eve"}, {"id", "1"}});
  EXPECT_EQ("evt:vfilerefuse ... id not in queue\n", lastConsole());
  feedAddin(session, "vfilerefuse", {{"nick", "Carol"}, {"id", "1"}});
  EXPECT_EQ("Carol refuse File transfert (" + folder.file("a.txt") + ")\n", lastConsole());
  EXPECT_FALSE(feedAddin(session, "VFILEREFUSE", {{"nick", "Carol"}, {"id", "1"}}));
}

TEST_F(FileTransferSessionTest, HostileOffersAreRefusedWithALine) {
  struct Case {
    const char* event;
    Vars vars;
    const char* reason;
  };
  const char* link[] = {"ip", "127.0.0.1", "port", "4000", "password", "secret12"};
  std::vector<Case> cases = {
      {"vfilesend", {{"filename", ".."}, {"size", "10"}}, "bad file name"},
      {"vfilesend", {{"filename", "a/"}, {"size", "10"}}, "bad file name"},
      {"vfilesend", {{"filename", "a\x01"}, {"size", "10"}}, "bad file name"},
      {"vfilesend", {{"filename", "a"}, {"size", "-5"}}, "bad size"},
      {"vfilesend", {{"filename", "a"}, {"size", "0"}}, "bad size"},
      {"vfilesend", {{"filename", "a"}, {"size", "2147483648"}}, "bad size"},
      {"vfilesend", {{"filename", "a"}}, "bad size"},
      {"vfilesendserver", {{"filename", "a"}, {"size", "9"}, {link[0], link[1]}, {"port", "0"},
                           {link[4], link[5]}}, "bad address"},
      {"vfilesendserver", {{"filename", "a"}, {"size", "9"}, {link[0], link[1]},
                           {"port", "65536"}, {link[4], link[5]}}, "bad address"},
      {"vfilesendserver", {{"filename", "a"}, {"size", "9"}, {"ip", "evil.example.org"},
                           {link[2], link[3]}, {link[4], link[5]}}, "bad address"},
  };
  for (Case& c : cases) {
    host.sent.clear();
    c.vars.push_back({"nick", "eve"});
    c.vars.push_back({"id", "4"});
    EXPECT_TRUE(feedAddin(session, c.event, c.vars));
    EXPECT_EQ("senddata eve [Varazir][Refuse][4]\n", host.sent) << c.reason;
    EXPECT_EQ(std::string("File offer from eve refused: ") + c.reason + "\n", lastConsole());
  }
  host.sent.clear();
  feedAddin(session, "vfilesend", {{"nick", "eve"}, {"filename", "a"}, {"size", "5"}});
  EXPECT_EQ("", host.sent) << "no id to answer";
  EXPECT_EQ("File offer from eve refused: bad id\n", lastConsole());
  EXPECT_TRUE(session.getIncoming().empty());
  EXPECT_TRUE(host.events.empty());
}

// bob listens: the save dialog opens from the loop with the offered name only, the accept goes
// out, and the file arrives under the path chosen.
TEST_F(FileTransferSessionTest, AnOfferWithAddressIsFetchedIntoTheChosenFile) {
  folder.write("source.bin", std::string(70000, 's'));
  RecordingLines senderLines;
  ServerTransfer sender(senderLines);
  sender.setup({folder.file("source.bin"), 5, "127.0.0.1", 0, "p%sw%n d1", true, "alice"});
  ASSERT_TRUE(sender.prepare() && sender.start());
  sender.resume();

  std::string port = std::to_string(sender.port());
  vorntest::answerNextFileDialog(folder.file("saved.bin").c_str());
  feedAddin(session, "vfilesendserver",
       {{"nick", "bob"}, {"filename", "../../etc/source.bin"}, {"size", "70000"}, {"id", "5"},
        {"ip", "127.0.0.1"}, {"port", port.c_str()}, {"password", "p%sw%n d1"}});
  EXPECT_EQ("NevChat sysout bob wants to send file \"source.bin\" ", host.firstEvent());
  EXPECT_EQ("evt:vfilesendserver from bob sending source.bin(70000 bytes)[id:5] , from "
            "127.0.0.1:" + port + " [p%sw%n d1]\n",
            lastConsole());
  ASSERT_TRUE(waitFor([&] { return folder.read("saved.bin").size() == 70000; }));
  EXPECT_EQ("senddata bob [Varazir][Accept][5]\n", host.sent);
  ASSERT_EQ(1u, vorntest::shownFileDialogs().size());
  EXPECT_TRUE(vorntest::shownFileDialogs()[0].save);
  EXPECT_EQ("source.bin", vorntest::shownFileDialogs()[0].initialFile);
  // The end is told where the offer was shown, from the GUI thread.
  ASSERT_TRUE(waitFor([&] { return host.events.size() == 2; }));
  EXPECT_EQ("NevChat sysout File \"source.bin\" from bob (70000 bytes) received into " +
                folder.file("saved.bin"),
            host.events[1]);
}

// bob connects: this side listens, its accept carries address, port and password, and the
// line with a password full of '%' reaches the server as it is.
TEST_F(FileTransferSessionTest, AnOfferWithoutAddressIsAnsweredWithOurs) {
  vorntest::answerNextFileDialog(folder.file("got.bin").c_str());
  feedAddin(session, "vfilesend", {{"nick", "bob"}, {"filename", "b.bin"}, {"size", "50000"},
                              {"id", "9"}});
  EXPECT_EQ("evt:vfilesend from bob sending b.bin(50000 bytes)[id:9]\n", lastConsole());
  ASSERT_TRUE(waitFor([&] { return !host.sent.empty(); }));
  ASSERT_EQ(1u, session.getIncoming().size());
  const Transfer& listening = *session.getIncoming()[0];
  EXPECT_EQ("senddata bob [Varazir][Accept][9][127.0.0.1][" + std::to_string(listening.port()) +
                "][" + listening.password() + "]\n",
            host.sent);

  RecordingLines senderLines;
  ClientTransfer sender(senderLines);
  sender.setup({folder.file("a.txt"), 9, "127.0.0.1", listening.port(), listening.password(),
                true, "alice"});
  ASSERT_TRUE(sender.start());
  sender.resume();
  sender.join();
  ASSERT_TRUE(waitFor([&] { return folder.read("got.bin") == std::string(50000, 'a'); }));
}

TEST_F(FileTransferSessionTest, ACancelledDialogRefusesAndTheEndCancelsAWaitingOne) {
  vorntest::cancelNextFileDialog();
  feedAddin(session, "vfilesendserver",
       {{"nick", "bob"}, {"filename", "x.bin"}, {"size", "10"}, {"id", "2"},
        {"ip", "127.0.0.1"}, {"port", "1"}, {"password", "secret12"}});
  ASSERT_TRUE(waitFor([&] { return !host.sent.empty(); }));
  EXPECT_EQ("senddata bob [Varazir][Refuse][2]\n", host.sent);

  // No loop runs, so the dialog never comes up: the end drops the waiting offer.
  host.sent.clear();
  feedAddin(session, "vfilesend", {{"nick", "bob"}, {"filename", "y.bin"}, {"size", "10"}, {"id", "3"}});
  session.term();
  vorntest::pumpFor(50);
  EXPECT_EQ("", host.sent) << "queued lines are dropped";
  EXPECT_EQ(0u, session.waitingOffers());
  EXPECT_TRUE(session.getIncoming().empty());
}

// A peer's flood of offers: four wait from one nick, sixteen in all, the rest are refused with
// a line; none has a thread or a socket before the user answers, and an answer frees it.
TEST_F(FileTransferSessionTest, WaitingOffersAreBoundedAndHoldNoThreadOrSocket) {
  size_t threads = entriesOf("/proc/self/task"), descriptors = entriesOf("/proc/self/fd");
  for (int id = 0; id < 4; ++id) offerFrom("bob", id, id % 2 == 0);
  EXPECT_EQ("", host.sent);
  offerFrom("Bob", 4, false);
  EXPECT_EQ("senddata Bob [Varazir][Refuse][4]\n", host.sent);
  EXPECT_EQ("File offer from Bob refused: 4 offers from Bob already wait for an answer\n",
            lastConsole());
  for (int id = 0; id < 12; ++id) offerFrom("peer" + std::to_string(id % 4), id, id % 2 == 1);
  EXPECT_EQ(16u, session.waitingOffers());
  offerFrom("zed", 1, true);
  EXPECT_EQ("senddata zed [Varazir][Refuse][1]\n", host.sent);
  EXPECT_EQ("File offer from zed refused: 16 file offers already wait for an answer\n",
            lastConsole());
  EXPECT_EQ(16u, session.waitingOffers());
  EXPECT_EQ(16u, host.events.size()) << "one notice per waiting offer";
  EXPECT_TRUE(session.getIncoming().empty());
  EXPECT_GE(threads, entriesOf("/proc/self/task")) << "the address look-up may end meanwhile";
  EXPECT_EQ(descriptors, entriesOf("/proc/self/fd"));

  // One dialog after another (each ends cancelled here): every offer refused, nothing left.
  host.sent.clear();
  ASSERT_TRUE(waitFor([&] { return session.waitingOffers() == 0; }));
  EXPECT_EQ(16u, vorntest::shownFileDialogs().size());
  size_t refusals = 0;
  for (size_t at = 0; (at = host.sent.find("[Refuse]", at)) != std::string::npos; ++at) ++refusals;
  EXPECT_EQ(16u, refusals);
  EXPECT_GE(threads, entriesOf("/proc/self/task")) << "the address look-up may end meanwhile";
  EXPECT_EQ(descriptors, entriesOf("/proc/self/fd"));
}

TEST_F(FileTransferSessionTest, TheSaveDialogSaysWhoOffersWhatAndStartsInTheDownloadFolder) {
  std::filesystem::create_directories(folder.file(".config"));
  std::filesystem::create_directories(folder.file("Fetched"));
  std::filesystem::create_directories(folder.file("kept"));
  EXPECT_EQ(folder.path(), SaveFolder::downloadFolder()) << "no user-dirs.dirs: home";
  folder.write(".config/user-dirs.dirs",
               "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
               "XDG_DOWNLOAD_DIR=\"$HOME/Fetched\"\n");

  vorntest::answerNextFileDialog(folder.file("kept/b.bin").c_str());
  vorntest::cancelNextFileDialog();
  feedAddin(session, "vfilesend",
            {{"nick", "bob"}, {"filename", "b.bin"}, {"size", "50000"}, {"id", "1"}});
  offerFrom("carol", 2, true);
  ASSERT_TRUE(waitFor([&] { return session.waitingOffers() == 0; }));
  std::vector<vorntest::ShownFileDialog> shown = vorntest::shownFileDialogs();
  ASSERT_EQ(2u, shown.size());
  EXPECT_EQ("Select File ... - bob wants to transfert file b.bin (48.83 KB)", shown[0].title);
  EXPECT_EQ(folder.file("Fetched"), shown[0].initialDir);
  EXPECT_EQ("b.bin", shown[0].initialFile);
  // The folder chosen last is where the next one starts.
  EXPECT_EQ("Select File ... - carol wants to transfert file f.bin (10.00 Bytes)", shown[1].title);
  EXPECT_EQ(folder.file("kept"), shown[1].initialDir);
  EXPECT_EQ("3.00 MB", transfer::sizeText(3145733));

  // A download folder that does not exist gives home again.
  std::filesystem::remove(folder.file("Fetched"));
  EXPECT_EQ(folder.path(), SaveFolder::downloadFolder());
}

TEST_F(FileTransferSessionTest, TheSampleRequestStaysInsideTheBuffer) {
  char answer[64] = "";
  char second[] = "I want the second sentence";
  EXPECT_EQ(5, session.onRequest("x", answer, 6, "sentence", second));
  EXPECT_STREQ("This ", answer) << "cut to the buffer, always ended";
  EXPECT_EQ(-1, session.onRequest("x", answer, 0, "sentence", second));
  EXPECT_EQ(-1, session.onRequest("x", nullptr, 10, "sentence", second));
  EXPECT_EQ(-1, session.onRequest("x", answer, 10, "sentence", nullptr));
}

}  // namespace
