// Two clients, alice and bob, each with NevChat and vfile, in one program folder against the
// local chat server: alice offers a file, bob saves it (each side is told so), and bob refuses
// a second offer.
#include "host/Console.h"
#include "host/Host.h"
#include "host/tests/e2e/HostRun.h"
#include "lib/RichEdit.h"
#include "platform/win32.h"
#include "tests/support/TwoClientsHost.h"
#include "sdk/PlugsObject.h"

namespace {

std::string consoleText() { return getConsole() ? paneText(getConsole()->getHwnd()) : ""; }

// The client's vfile session, as the host made it.
PlugsObject* vfileOf(const char* client) {
  Client* found = clientOf(client);
  SessionRecord* record = found != nullptr ? found->findSession("vfile") : nullptr;
  return record != nullptr ? record->session : nullptr;
}

class FileTransferEndToEnd : public TwoClientsHost {
 protected:
  FileTransferEndToEnd()
      : TwoClientsHost({{{VFILE_MODULE, "vfile.vad"}}, "Addins=vfile\n", "", "", "", 15000}) {}
  void TearDown() override {
    vorntest::clearDialogs();
    TwoClientsHost::TearDown();
  }
  bool sentPrefix(const char* nick, const std::string& prefix) {
    for (const std::string& line : server.transcript(nick))
      if (line.rfind(prefix, 0) == 0) return true;
    return false;
  }
  void offer(PlugsObject* from, const std::string& data) {
    from->onUserEvent("NevChat", "sendfile", const_cast<char*>(data.c_str()));
  }
};

TEST_F(FileTransferEndToEnd, AliceOffersBobSavesThenRefuses) {
  std::string data(3 * 1024 * 1024 + 5, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31 + i / 7);
  ASSERT_TRUE(folder.write("holiday.bin", data));

  startUp(GetModuleHandleA(nullptr));
  ASSERT_NE(clientList, nullptr);
  PlugsObject* alice = vfileOf("alice");
  ASSERT_NE(alice, nullptr) << consoleText();
  ASSERT_NE(vfileOf("bob"), nullptr);
  ASSERT_TRUE(wait([&] { return server.isLoggedIn("alice") && server.isLoggedIn("bob"); }));

  // The offer travels as private data; bob's save dialog comes up with the offered name.
  vorntest::answerNextFileDialog(folder.file("from-alice.bin").c_str());
  offer(alice, "bob:" + folder.file("holiday.bin"));
  ASSERT_TRUE(wait([&] { return folder.read("from-alice.bin").size() == data.size(); }))
      << transcriptOf("alice") << transcriptOf("bob") << consoleText();
  EXPECT_TRUE(folder.read("from-alice.bin") == data);
  EXPECT_TRUE(sentPrefix("alice", "senddata bob [Varazir][Send][holiday.bin][3145733][0]["))
      << transcriptOf("alice");
  EXPECT_TRUE(sentPrefix("bob", "senddata alice [Varazir][Accept][0]")) << transcriptOf("bob");
  std::vector<vorntest::ShownFileDialog> dialogs = vorntest::shownFileDialogs();
  ASSERT_EQ(1u, dialogs.size());
  EXPECT_EQ("holiday.bin", dialogs[0].initialFile);
  EXPECT_TRUE(has(consoleText(), "evt:vfilesendserver from alice sending holiday.bin(3145733 "
                                 "bytes)[id:0]"));
  EXPECT_TRUE(has(consoleText(), "evt:vfileaccept from bob looking if id(0) exist ..."));
  EXPECT_EQ("Select File ... - alice wants to transfert file holiday.bin (3.00 MB)",
            dialogs[0].title);
  // The end of the transfer, told on both sides: bob's chat, where the offer showed, and
  // alice's console, where hers did.
  std::string received = "File \"holiday.bin\" from alice (3145733 bytes) received into " +
                         folder.file("from-alice.bin");
  EXPECT_TRUE(wait([&] { return has(paneText(chatOf("bob")->getOutput()->getHwnd()), received); }))
      << paneText(chatOf("bob")->getOutput()->getHwnd());
  EXPECT_TRUE(wait([&] {
    return has(consoleText(), "File \"holiday.bin\" to bob (3145733 bytes) sent");
  })) << consoleText();

  // A second offer, refused in bob's dialog: alice hears of it and her transfer is closed.
  vorntest::cancelNextFileDialog();
  offer(alice, "bob:" + folder.file("holiday.bin"));
  ASSERT_TRUE(wait([&] { return has(consoleText(), "bob refuse File transfert ("); }))
      << transcriptOf("bob") << consoleText();
  EXPECT_TRUE(sentPrefix("bob", "senddata alice [Varazir][Refuse][1]"));
  EXPECT_FALSE(has(consoleText(), "not in queue"));

  closeAndShutDown();
  EXPECT_EQ(clientList, nullptr);
}

}  // namespace
