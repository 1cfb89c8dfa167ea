#include "plugins/vfile/FileChooser.h"

#include <vector>

#include "platform/win32.h"

#ifndef OFN_NODEREFERENCELINKS
#define OFN_NODEREFERENCELINKS 0x00100000
#endif

std::string chooseFile(bool save, const std::string& initialName, const std::string& title,
                       const std::string& folder) {
  std::vector<char> path(4096, '\0');
  initialName.copy(path.data(), path.size() - 1);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFilter = "*\0*\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.Flags = OFN_NODEREFERENCELINKS | OFN_NOCHANGEDIR;
  BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  return chosen ? std::string(path.data()) : std::string();
}
