// The two pumps of the link: the sender streams the file from the receiver's offset, the
// receiver appends to the partial file and names it when it is whole.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

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

std::string Transfer::pump() {
  startTime = static_cast<int64_t>(time(nullptr));
  std::string failure = isSending() ? sendFile() : receiveFile();
  dataSocket.close();
  return failure;
}

std::string Transfer::lostAfter(int64_t bytes) const {
  return "the link closed after " + std::to_string(bytes) + " of " + std::to_string(size) +
         " bytes";
}

std::string Transfer::sendFile() {
  uint32_t offset = 0;
  if (!dataSocket.receiveInt(offset)) return lostAfter(0);
  resumedAt = offset;
  if (offset > static_cast<uint32_t>(size))
    return "the peer asked for the file from byte " + std::to_string(offset) + ", past its end";
  File file(fopen(path().c_str(), "rb"));
  if (!file || fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0)
    return "cannot read " + path();
  int64_t block = transfer::blockSizeFor(size);
  std::unique_ptr<char[]> buffer(new char[block]);
  int64_t position = offset;
  transferred = position;
  while (position < size && dataSocket.isConnected()) {
    size_t want = static_cast<size_t>(std::min<int64_t>(block, size - position));
    size_t got = fread(buffer.get(), 1, want, file.get());
    if (got == 0) return "cannot read " + path();
    if (!dataSocket.sendAll(buffer.get(), got)) break;
    position += static_cast<int64_t>(got);
    transferred = position;
  }
  return position < size ? lostAfter(position) : std::string();
}

std::string Transfer::receiveFile() {
  TransferSettings& settings = transferSettings();
  std::string name = settings.renameExisting ? transfer::freeTargetName(path()) : path();
  std::string partial = name + ".vfl";
  int64_t existing = settings.resume ? transfer::fileSize(partial) : 0;
  uint32_t offset = existing > 0 ? static_cast<uint32_t>(std::min<int64_t>(existing, UINT32_MAX))
                                 : 0;
  if (!dataSocket.sendInt(offset)) return lostAfter(0);
  resumedAt = offset;
  // The sender sends nothing then; the partial file is left as it is.
  if (offset > static_cast<uint32_t>(size))
    return "the partial file " + partial + " is longer than the offered file";
  File file(fopen(partial.c_str(), offset > 0 ? "ab" : "wb"));
  if (!file) return "cannot write " + partial;
  int64_t block = transfer::blockSizeFor(size);
  std::unique_ptr<char[]> buffer(new char[block]);
  int64_t have = offset;
  transferred = have;
  bool written = true;
  // Never more than was announced, whatever the peer sends.
  while (have < size && dataSocket.isConnected()) {
    size_t want = static_cast<size_t>(std::min<int64_t>(block, size - have));
    size_t got = dataSocket.receiveExact(buffer.get(), want);
    if (got > 0 && fwrite(buffer.get(), 1, got, file.get()) != got) {
      written = false;
      break;
    }
    have += static_cast<int64_t>(got);
    transferred = have;
    if (got < want) break;
  }
  if (fclose(file.release()) != 0 || !written) return "cannot write " + partial;
  if (have < size) return lostAfter(have);
  // The finished file never replaces one that appeared meanwhile; the partial file stays.
  if (!MoveFileA(partial.c_str(), name.c_str()))
    return "cannot rename " + partial + " to " + name;
  savedAs = name;
  return "";
}
