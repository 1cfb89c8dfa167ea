// The file-transfer link on loopback: a 512 MB file moved between two transfers (speed beside
// the disk's own write speed, memory at the end, the longest pause of a thread that waits
// beside it), then randomised trials that cut the link at a random byte and resume, each
// checked against the source by hash. Run by hand: FileTransferBench [megabytes] [trials].
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/ProcessMemory.h"
#include "plugins/vfile/Transfer.h"
#include "plugins/vfile/TransferSettings.h"
#include "plugins/vfile/tests/RecordingLines.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Writes size bytes of varied data in blocks of 1 MiB; returns the seconds taken, flushed to
// the disk when sync is set.
double writeFile(const std::string& path, size_t size, bool sync) {
  std::vector<char> block(1 << 20);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 131 + i / 251);
  auto start = Clock::now();
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return -1;
  for (size_t done = 0; done < size; done += block.size()) {
    block[0] = static_cast<char>(done >> 20);
    fwrite(block.data(), 1, std::min(block.size(), size - done), file);
  }
  fflush(file);
  if (sync) fsync(fileno(file));
  fclose(file);
  return secondsSince(start);
}

uint64_t hashOf(const std::string& path) {
  uint64_t hash = 1469598103934665603ull;
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return 0;
  std::vector<unsigned char> block(1 << 16);
  size_t got;
  while ((got = fread(block.data(), 1, block.size(), file)) > 0)
    for (size_t i = 0; i < got; ++i) hash = (hash ^ block[i]) * 1099511628211ull;
  fclose(file);
  return hash;
}

// One transfer from a listening sender to a receiver connecting to port (the sender's own
// when 0); returns whether both threads ran.
bool moveFile(const std::string& target, int viaPort,
              ServerTransfer& sender, RecordingLines& receiverLines) {
  ClientTransfer receiver(receiverLines);
  receiver.setup({target, 1, "127.0.0.1", viaPort != 0 ? viaPort : sender.port(), "bench-pass",
                  false, "bob"});
  receiver.setSize(sender.fileSize());
  if (!sender.start() || !receiver.start()) return false;
  sender.resume();
  receiver.resume();
  receiver.join();
  sender.join();
  return true;
}

void bigTransfer(const std::string& folder, size_t megabytes) {
  size_t size = megabytes << 20;
  std::string source = folder + "/big.bin", target = folder + "/big-copy.bin";
  double plain = writeFile(source, size, false);
  double synced = writeFile(folder + "/disk.bin", size, true);
  std::filesystem::remove(folder + "/disk.bin");

  RecordingLines senderLines, receiverLines;
  ServerTransfer sender(senderLines);
  sender.setup({source, 1, "127.0.0.1", 0, "bench-pass", true, "alice"});
  if (!sender.prepare()) return;
  double longestPause = 0;
  auto start = Clock::now();
  std::thread watcher([&] {
    auto last = Clock::now();
    while (!sender.isFinished()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      longestPause = std::max(longestPause, secondsSince(last));
      last = Clock::now();
    }
  });
  moveFile(target, 0, sender, receiverLines);
  double took = secondsSince(start);
  watcher.join();
  bool same = hashOf(source) == hashOf(target);
  printf("%zu MB over loopback: %.2f s, %.0f MB/s, copy %s\n", megabytes, took, megabytes / took,
         same ? "identical" : "DIFFERENT");
  printf("disk write of %zu MB: %.0f MB/s to the page cache, %.0f MB/s flushed to disk\n",
         megabytes, megabytes / plain, megabytes / synced);
  printf("memory at end: %ld kB resident, %ld kB peak; longest pause of a waiting thread: "
         "%.1f ms\n",
         statusField("VmRSS:"), statusField("VmHWM:"), longestPause * 1000);
  std::filesystem::remove(source);
  std::filesystem::remove(target);
}

// Forwards one link between a receiver and a sender and cuts it after cut bytes of the file.
void relayAndCut(TransferSocket& listener, int senderPort, size_t passwordLength, size_t cut) {
  TransferSocket fromReceiver, toSender;
  if (!listener.accept(fromReceiver, 5000) || !toSender.connect("127.0.0.1", senderPort, 5000))
    return;
  std::vector<char> buffer(std::max<size_t>(passwordLength, 65536));
  uint32_t offset = 0;
  if (fromReceiver.receiveExact(buffer.data(), passwordLength) != passwordLength ||
      !toSender.sendAll(buffer.data(), passwordLength) || !fromReceiver.receiveInt(offset) ||
      !toSender.sendInt(offset))
    return;
  for (size_t passed = 0; passed < cut;) {
    size_t want = std::min(buffer.size(), cut - passed);
    size_t got = toSender.receiveExact(buffer.data(), want);
    if (got == 0 || !fromReceiver.sendAll(buffer.data(), got)) break;
    passed += got;
  }
  fromReceiver.interrupt();
  toSender.interrupt();
}

int resumeTrials(const std::string& folder, int trials) {
  std::mt19937 random(20261209);
  int passed = 0;
  std::string source = folder + "/trial.bin", target = folder + "/trial-copy.bin";
  for (int trial = 0; trial < trials; ++trial) {
    size_t size = 1 + random() % 400000;
    std::string data(size, '\0');
    for (char& c : data) c = static_cast<char>(random());
    FILE* file = fopen(source.c_str(), "wb");
    fwrite(data.data(), 1, size, file);
    fclose(file);
    size_t cut = random() % size;

    RecordingLines lines;
    TransferSocket relay;
    relay.listen(0, 1);
    ServerTransfer cutSender(lines);
    cutSender.setup({source, 1, "127.0.0.1", 0, "bench-pass", true, "alice"});
    cutSender.prepare();
    std::thread relaying(relayAndCut, std::ref(relay), cutSender.port(), 10, cut);
    moveFile(target, relay.port(), cutSender, lines);
    relaying.join();
    std::error_code none;
    bool cutInTheMiddle = !std::filesystem::exists(target) &&
                          std::filesystem::file_size(target + ".vfl", none) == cut;

    ServerTransfer resumeSender(lines);
    resumeSender.setup({source, 1, "127.0.0.1", 0, "bench-pass", true, "alice"});
    resumeSender.prepare();
    moveFile(target, 0, resumeSender, lines);
    passed += cutInTheMiddle && std::filesystem::exists(target) && hashOf(source) == hashOf(target) &&
              resumeSender.transferredBytes() == static_cast<int64_t>(size);
    std::filesystem::remove(target);
    std::filesystem::remove(target + ".vfl");
  }
  return passed;
}

}  // namespace

int main(int argc, char** argv) {
  size_t megabytes = argc > 1 ? static_cast<size_t>(atol(argv[1])) : 512;
  int trials = argc > 2 ? atoi(argv[2]) : 1000;
  std::string pattern = (std::filesystem::temp_directory_path() / "vfilebenchXXXXXX").string();
  if (mkdtemp(&pattern[0]) == nullptr) return 1;
  bigTransfer(pattern, megabytes);
  auto start = Clock::now();
  int passed = resumeTrials(pattern, trials);
  printf("resume trials: %d of %d passed byte for byte (%.1f s)\n", passed, trials,
         secondsSince(start));
  std::filesystem::remove_all(pattern);
  return passed == trials ? 0 : 1;
}
