// The first rich edit's shorter character-format record, carried over the full one.
#include <cstring>

#include "platform/ControlRichEdit.h"

namespace vornplatform {
namespace {

// The masks a CHARFORMATA can carry; the rest name fields it does not have.
const DWORD kShortMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_FACE | CFM_COLOR |
                         CFM_SIZE | 0x00000008 /* strike-out */ | 0x08000000 /* charset */ |
                         0x10000000 /* offset */ | 0x00000010 /* protected */;

bool isShort(LPARAM record) {
  return reinterpret_cast<const CHARFORMATA*>(record)->cbSize == sizeof(CHARFORMATA);
}

}  // namespace

LRESULT setCharFormatRecord(RichEditWidget* edit, WPARAM which, LPARAM record) {
  if (!record) return 0;
  if (!isShort(record)) {
    setCharFormat(edit, which, *reinterpret_cast<const CHARFORMAT2A*>(record));
    return TRUE;
  }
  CHARFORMAT2A full{};
  std::memcpy(&full, reinterpret_cast<const void*>(record), sizeof(CHARFORMATA));
  full.cbSize = sizeof full;
  full.dwMask &= kShortMask;
  setCharFormat(edit, which, full);
  return TRUE;
}

LRESULT getCharFormatRecord(RichEditWidget* edit, WPARAM which, LPARAM record) {
  if (!record) return 0;
  if (!isShort(record)) {
    getCharFormat(edit, which, reinterpret_cast<CHARFORMAT2A*>(record));
    return 0;
  }
  CHARFORMAT2A full{};
  full.cbSize = sizeof full;
  getCharFormat(edit, which, &full);
  auto* out = reinterpret_cast<CHARFORMATA*>(record);
  std::memcpy(out, &full, sizeof(CHARFORMATA));
  out->cbSize = sizeof(CHARFORMATA);
  out->dwMask &= kShortMask;
  return 0;
}

}  // namespace vornplatform
