// The link between two transfers on loopback: whole files of awkward sizes, resume from a
// partial file, the wire bytes of the offset, a wrong password, a peer that sends too much,
// names that are taken, and stopping a transfer that waits or blocks; each end told in a line.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "platform/tests/TempFolder.h"
#include "plugins/vfile/Transfer.h"
#include "plugins/vfile/TransferNames.h"
#include "plugins/vfile/tests/RecordingLines.h"

namespace {

std::string bytesOf(size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string data(size, '\0');
  for (char& c : data) c = static_cast<char>(generator());
  return data;
}

Transfer::Fields sendingFields(const std::string& path) {
  return {path, 7, "127.0.0.1", 0, "pa%s ss{}", true, "bob"};
}

class TransferLink : public ::testing::Test {
 protected:
  // Offers source from a listening sender and fetches it into target with a connecting
  // receiver; returns after both threads ended, with the end line of each side.
  void moveFile(const std::string& source, const std::string& target) {
    RecordingLines senderLines, receiverLines;
    ServerTransfer sender(senderLines);
    sender.setup(sendingFields(source));
    ASSERT_TRUE(sender.prepare());
    ClientTransfer receiver(receiverLines);
    receiver.setup({target, 7, "127.0.0.1", sender.port(), "pa%s ss{}", false, "alice"});
    receiver.setSize(sender.fileSize());
    receiver.setOfferedName("offered.bin");
    ASSERT_TRUE(sender.start() && receiver.start());
    sender.resume();
    receiver.resume();
    receiver.join();
    sender.join();
    ASSERT_EQ(1u, receiverLines.sentLines().size());
    EXPECT_EQ("senddata alice [Varazir][Accept][7]\n", receiverLines.sentLines()[0]);
    ASSERT_EQ(1u, senderLines.printedLines().size());
    ASSERT_EQ(1u, receiverLines.noticedLines().size());
    sentLine = senderLines.printedLines()[0];
    receivedLine = receiverLines.noticedLines()[0];
  }

  // A sender of source.bin, listening for its peer.
  void listen(ServerTransfer& sender) {
    sender.setup(sendingFields(folder.file("source.bin")));
    ASSERT_TRUE(sender.prepare() && sender.start());
    sender.resume();
  }

  TempFolder folder;
  std::string sentLine, receivedLine;
};

TEST_F(TransferLink, WholeFilesOfEverySizeArriveIntact) {
  for (size_t size : {0u, 1u, 10239u, 10240u, 50000u, 3u * 1024 * 1024 + 17}) {
    SCOPED_TRACE(size);
    std::string data = bytesOf(size, static_cast<unsigned>(size));
    ASSERT_TRUE(folder.write("source.bin", data));
    std::string target = folder.file("got-" + std::to_string(size) + ".bin");
    moveFile(folder.file("source.bin"), target);
    EXPECT_EQ(data, folder.read("got-" + std::to_string(size) + ".bin"));
    EXPECT_EQ(-1, transfer::fileSize(target + ".vfl")) << "the partial file became the target";
    std::string bytes = " (" + std::to_string(size) + " bytes) ";
    EXPECT_EQ("File \"offered.bin\" from alice" + bytes + "received into " + target, receivedLine);
    EXPECT_EQ("File \"source.bin\" to bob" + bytes + "sent\n", sentLine);
  }
}

TEST_F(TransferLink, AReceiverResumesFromItsPartialFileAndNeverOverwrites) {
  std::string data = bytesOf(50000, 1);
  ASSERT_TRUE(folder.write("source.bin", data));
  ASSERT_TRUE(folder.write("photo.jpg.vfl", data.substr(0, 4000)));
  moveFile(folder.file("source.bin"), folder.file("photo.jpg"));
  EXPECT_EQ(data, folder.read("photo.jpg"));
  EXPECT_EQ("File \"offered.bin\" from alice (50000 bytes) received into " +
                folder.file("photo.jpg") + ", resumed at 4000 bytes",
            receivedLine);
  EXPECT_EQ("File \"source.bin\" to bob (50000 bytes) sent, resumed at 4000 bytes\n", sentLine);

  // A taken name gets a number; a folder with a dot keeps its name.
  ASSERT_TRUE(folder.write("a.txt", "old"));
  moveFile(folder.file("source.bin"), folder.file("a.txt"));
  EXPECT_EQ("old", folder.read("a.txt"));
  EXPECT_EQ(data, folder.read("a-0.txt"));
  moveFile(folder.file("source.bin"), folder.file("a.txt"));
  EXPECT_EQ(data, folder.read("a-0-1.txt"));
  std::filesystem::create_directories(folder.file("v1.2"));
  ASSERT_TRUE(folder.write("v1.2/readme", "x"));
  EXPECT_EQ(folder.file("v1.2/readme-0"), transfer::freeTargetName(folder.file("v1.2/readme")));
}

// The sender as seen from a raw connection: the password, then the offset on four bytes.
TEST_F(TransferLink, TheSenderChecksThePasswordThenStreamsFromTheOffset) {
  std::string data = bytesOf(50000, 2);
  ASSERT_TRUE(folder.write("source.bin", data));
  RecordingLines lines;
  ServerTransfer refused(lines), sender(lines);
  listen(refused);
  TransferSocket intruder, peer;
  ASSERT_TRUE(intruder.connect("127.0.0.1", refused.port(), 2000));
  ASSERT_TRUE(intruder.sendAll("pa%s ss{]", 9) && intruder.sendInt(0));
  char byte;
  EXPECT_EQ(0u, intruder.receiveExact(&byte, 1));
  refused.join();
  EXPECT_EQ((std::vector<std::string>{"Bad Password", "File \"source.bin\" to bob (50000 bytes) "
                                                      "failed: the peer gave a wrong password\n"}),
            lines.printedLines());
  EXPECT_EQ(0, refused.transferredBytes());

  listen(sender);
  ASSERT_TRUE(peer.connect("127.0.0.1", sender.port(), 2000));
  const unsigned char offset[4] = {0x00, 0x00, 0x0F, 0xA0};
  ASSERT_TRUE(peer.sendAll("pa%s ss{}", 9) && peer.sendAll(offset, 4));
  std::string rest(50000 - 4000 + 10, '\0');
  EXPECT_EQ(46000u, peer.receiveExact(&rest[0], rest.size())) << "then the sender closes";
  rest.resize(46000);
  EXPECT_EQ(data.substr(4000), rest);
  sender.join();
  EXPECT_EQ(50000, sender.transferredBytes());
}

// A peer that sends more than it offered, stops in the middle, or is not there at all.
TEST_F(TransferLink, AReceiverTakesNoMoreThanAnnouncedAndRefusesWhenItCannotConnect) {
  TransferSocket listener, link;
  ASSERT_TRUE(listener.listen(0, 1));
  RecordingLines lines;
  ClientTransfer receiver(lines);
  receiver.setup({folder.file("small.bin"), 3, "127.0.0.1", listener.port(), "secret12", false,
                  "eve"});
  receiver.setSize(100);
  ASSERT_TRUE(receiver.start());
  receiver.resume();
  ASSERT_TRUE(listener.accept(link, 2000));
  char password[8];
  uint32_t offset = 1;
  ASSERT_EQ(8u, link.receiveExact(password, 8));
  ASSERT_TRUE(link.receiveInt(offset));
  EXPECT_EQ(0u, offset);
  std::string flood(100000, 'x');
  link.sendAll(flood.data(), flood.size());
  receiver.join();
  EXPECT_EQ(std::string(100, 'x'), folder.read("small.bin"));

  ClientTransfer cut(lines);
  cut.setup({folder.file("cut.bin"), 5, "127.0.0.1", listener.port(), "secret12", false, "eve"});
  cut.setSize(100);
  ASSERT_TRUE(cut.start());
  cut.resume();
  ASSERT_TRUE(listener.accept(link, 2000));
  ASSERT_EQ(8u, link.receiveExact(password, 8));
  ASSERT_TRUE(link.receiveInt(offset) && link.sendAll(flood.data(), 40));
  link.close();
  cut.join();

  listener.close();
  ClientTransfer lost(lines);
  lost.setup({folder.file("lost.bin"), 4, "127.0.0.1", 1, "secret12", false, "eve"});
  lost.setSize(100);
  ASSERT_TRUE(lost.start());
  lost.resume();
  lost.join();
  std::vector<std::string> sent = lines.sentLines();
  ASSERT_EQ(4u, sent.size());
  EXPECT_EQ("senddata eve [Varazir][Refuse][4]\n", sent[3]);
  EXPECT_EQ("Could not connect to server(127.0.0.1:1)", lines.printedLines().back());
  EXPECT_EQ((std::vector<std::string>{
                "File \"small.bin\" from eve (100 bytes) received into " + folder.file("small.bin"),
                "File \"cut.bin\" from eve (100 bytes) failed: the link closed after 40 of 100 "
                "bytes",
                "File \"lost.bin\" from eve (100 bytes) failed: could not connect to 127.0.0.1:1"}),
            lines.noticedLines());
}

// Stopping never waits for a peer: not for one that never connects, nor for one that stops
// reading in the middle of a file.
TEST_F(TransferLink, StoppingATransferReturnsPromptly) {
  ASSERT_TRUE(folder.write("source.bin", bytesOf(8 * 1024 * 1024, 4)));
  RecordingLines lines;
  ServerTransfer waiting(lines), blocked(lines);
  listen(waiting);
  listen(blocked);
  TransferSocket stalled;
  ASSERT_TRUE(stalled.connect("127.0.0.1", blocked.port(), 2000));
  ASSERT_TRUE(stalled.sendAll("pa%s ss{}", 9) && stalled.sendInt(0));
  char first[1024];
  ASSERT_EQ(sizeof first, stalled.receiveExact(first, sizeof first)) << "the pump has begun";

  // Without the wake-up these would wait ten minutes, or for ever.
  waiting.stop();
  blocked.stop();
  EXPECT_TRUE(waiting.isFinished() && blocked.isFinished());
  EXPECT_LT(blocked.transferredBytes(), 8 * 1024 * 1024);
}

}  // namespace
