// The two pumps of the link: the sender streams the file from the receiver's offset, the
// receiver appends to the partial file and names it when it is whole.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>

#include "platform/win32.h"
#include "plugins/vfile/Transfer.h"
#include "plugins/vfile/TransferNames.h"
#include "plugins/vfile/TransferSettings.h"

namespace {

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

}  // namespace

void Transfer::pump() {
  startTime = static_cast<int64_t>(time(nullptr));
  if (isSending())
    sendFile();
  else
    receiveFile();
  dataSocket.close();
}

void Transfer::sendFile() {
  uint32_t offset = 0;
  if (!dataSocket.receiveInt(offset)) return;
  File file(fopen(path().c_str(), "rb"));
  if (!file || fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return;
  int64_t block = transfer::blockSizeFor(size);
  std::unique_ptr<char[]> buffer(new char[block]);
  int64_t position = offset;
  transferred = position;
  while (position < size && dataSocket.isConnected()) {
    size_t want = static_cast<size_t>(std::min<int64_t>(block, size - position));
    size_t got = fread(buffer.get(), 1, want, file.get());
    if (got == 0 || !dataSocket.sendAll(buffer.get(), got)) break;
    position += static_cast<int64_t>(got);
    transferred = position;
  }
}

void Transfer::receiveFile() {
  TransferSettings& settings = transferSettings();
  std::string name = settings.renameExisting ? transfer::freeTargetName(path()) : path();
  std::string partial = name + ".vfl";
  int64_t existing = settings.resume ? transfer::fileSize(partial) : 0;
  uint32_t offset = existing > 0 ? static_cast<uint32_t>(std::min<int64_t>(existing, UINT32_MAX))
                                 : 0;
  if (!dataSocket.sendInt(offset)) return;
  File file(fopen(partial.c_str(), offset > 0 ? "ab" : "wb"));
  if (!file) return;
  int64_t block = transfer::blockSizeFor(size);
  std::unique_ptr<char[]> buffer(new char[block]);
  int64_t have = offset;
  transferred = have;
  // Never more than was announced, whatever the peer sends.
  while (have < size && dataSocket.isConnected()) {
    size_t want = static_cast<size_t>(std::min<int64_t>(block, size - have));
    size_t got = dataSocket.receiveExact(buffer.get(), want);
    if (got > 0 && fwrite(buffer.get(), 1, got, file.get()) != got) break;
    have += static_cast<int64_t>(got);
    transferred = have;
    if (got < want) break;
  }
  if (fclose(file.release()) != 0) return;
  // The finished file never replaces one that appeared meanwhile; the partial file stays.
  if (have == size) MoveFileA(partial.c_str(), name.c_str());
}
