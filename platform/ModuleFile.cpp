// Checks a shared object's file before the loader maps it.
#include "platform/ModuleFile.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace vornplatform {
namespace {

#if UINTPTR_MAX > 0xffffffffu
using ElfHeader = Elf64_Ehdr;
using ProgramHeader = Elf64_Phdr;
const unsigned char kClass = ELFCLASS64;
#else
using ElfHeader = Elf32_Ehdr;
using ProgramHeader = Elf32_Phdr;
const unsigned char kClass = ELFCLASS32;
#endif

#if defined(__x86_64__)
const int kMachine = EM_X86_64;
#elif defined(__aarch64__)
const int kMachine = EM_AARCH64;
#elif defined(__i386__)
const int kMachine = EM_386;
#elif defined(__arm__)
const int kMachine = EM_ARM;
#else
const int kMachine = -1;  // unknown here: the loader judges the machine
#endif

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
const unsigned char kByteOrder = ELFDATA2LSB;
#else
const unsigned char kByteOrder = ELFDATA2MSB;
#endif

bool readAt(int fd, void* buffer, size_t size, uint64_t offset) {
  auto* bytes = static_cast<char*>(buffer);
  while (size > 0) {
    ssize_t got = pread(fd, bytes, size, static_cast<off_t>(offset));
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
  return true;
}

bool inside(uint64_t offset, uint64_t length, uint64_t fileSize) {
  return offset <= fileSize && length <= fileSize - offset;
}

bool headerFits(const ElfHeader& h, uint64_t fileSize) {
  if (std::memcmp(h.e_ident, ELFMAG, SELFMAG) != 0 || h.e_ident[EI_CLASS] != kClass ||
      h.e_ident[EI_DATA] != kByteOrder || h.e_ident[EI_VERSION] != EV_CURRENT)
    return false;
  if (h.e_type != ET_DYN || (kMachine >= 0 && h.e_machine != kMachine)) return false;
  if (h.e_phentsize != sizeof(ProgramHeader) || h.e_phnum == 0 || h.e_phnum == PN_XNUM)
    return false;
  return inside(h.e_phoff, uint64_t{h.e_phnum} * sizeof(ProgramHeader), fileSize);
}

// Every segment's bytes in the file, mapped or read by the loader, must be there.
bool segmentsFit(int fd, const ElfHeader& h, uint64_t fileSize) {
  std::vector<ProgramHeader> headers(h.e_phnum);
  if (!readAt(fd, headers.data(), headers.size() * sizeof(ProgramHeader), h.e_phoff))
    return false;
  bool loadable = false;
  for (const ProgramHeader& p : headers) {
    if (!inside(p.p_offset, p.p_filesz, fileSize)) return false;
    if (p.p_type == PT_LOAD && p.p_filesz > p.p_memsz) return false;
    loadable = loadable || p.p_type == PT_LOAD;
  }
  return loadable;
}

}  // namespace

ModuleFileCheck checkModuleFile(const char* path) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ModuleFileCheck::Unopenable;
  struct stat file;
  ModuleFileCheck result = ModuleFileCheck::BadFormat;
  ElfHeader header;
  if (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) {
    result = ModuleFileCheck::Unopenable;
  } else {
    uint64_t size = static_cast<uint64_t>(file.st_size);
    if (size >= sizeof header && readAt(fd, &header, sizeof header, 0) &&
        headerFits(header, size) && segmentsFit(fd, header, size))
      result = ModuleFileCheck::Loadable;
  }
  close(fd);
  return result;
}

}  // namespace vornplatform
