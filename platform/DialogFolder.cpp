// SHBrowseForFolderA over QFileDialog in folder mode. The item list it returns is simply the
// chosen folder's path in a heap block, so SHGetPathFromIDListA copies it and CoTaskMemFree
// frees it.
#include <QFileDialog>
#include <QWidget>

#include <cstdlib>
#include <cstring>

#include "platform/DialogHooks.h"
#include "platform/ModalLoops.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

bool showFolderDialog(HWND owner, const std::string& title, const std::string& start,
                      std::string* path) {
  bool accepted = false;
  runOnGuiThread([&]() {
    QWidget* parent = owner == nullptr ? nullptr : topLevelWidgetOf(owner);
    QFileDialog dialog(parent, bytesToQString(title), bytesToQString(start));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    accepted = runDialog(dialog, parent == nullptr) && !dialog.selectedFiles().isEmpty();
    if (accepted) *path = qStringToBytes(dialog.selectedFiles().first());
  });
  return accepted;
}

LPITEMIDLIST makeItemList(const std::string& path) {
  char* copy = static_cast<char*>(std::malloc(path.size() + 1));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, path.c_str(), path.size() + 1);
  return reinterpret_cast<LPITEMIDLIST>(copy);
}

// The folder's own name (its last path element) into a MAX_PATH buffer.
void copyDisplayName(const std::string& path, char* out) {
  size_t end = path.find_last_not_of("/\\");
  std::string name;
  if (end != std::string::npos) {
    size_t slash = path.find_last_of("/\\", end);
    size_t start = slash == std::string::npos ? 0 : slash + 1;
    name = path.substr(start, end + 1 - start);
  }
  size_t length = std::min(name.size(), static_cast<size_t>(MAX_PATH - 1));
  std::memcpy(out, name.data(), length);
  out[length] = '\0';
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info) {
  if (info == nullptr) return nullptr;
  vorntest::ShownFolderDialog shown;
  shown.owner = IsWindow(info->hwndOwner) ? info->hwndOwner : nullptr;
  shown.title = info->lpszTitle == nullptr ? "" : info->lpszTitle;
  shown.flags = info->ulFlags;
  shown.confirmed = false;
  std::string path;
  bool ending = endingRequested();
  Prepared prepared = ending ? Prepared::None : takeFolderAnswer(&path);
  shown.prepared = prepared != Prepared::None;
  if (prepared == Prepared::Answer) {
    shown.confirmed = !path.empty();
  } else if (prepared == Prepared::None && !ending && !offscreenPlatform()) {
    const char* root = reinterpret_cast<const char*>(info->pidlRoot);
    shown.confirmed = showFolderDialog(shown.owner, shown.title, root ? root : "", &path);
  }
  if (shown.confirmed) shown.result = path;
  recordFolderDialog(shown);
  if (!shown.confirmed) return nullptr;
  if (info->pszDisplayName != nullptr) copyDisplayName(path, info->pszDisplayName);
  return makeItemList(path);
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
  if (list == nullptr || path == nullptr) return FALSE;
  const char* text = reinterpret_cast<const char*>(list);
  size_t length = strnlen(text, MAX_PATH);
  if (length >= MAX_PATH) {
    path[0] = '\0';
    return FALSE;
  }
  std::memcpy(path, text, length + 1);
  return TRUE;
}

void CoTaskMemFree(LPVOID memory) { std::free(memory); }
