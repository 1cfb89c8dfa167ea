// GetOpenFileNameA and GetSaveFileNameA over QFileDialog. The working folder never changes,
// whatever OFN_NOCHANGEDIR says: the program finds its settings files through it.
#include <QFileDialog>
#include <QWidget>

#include <cstring>

#include "platform/DialogFilter.h"
#include "platform/DialogHooks.h"
#include "platform/ModalLoops.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

std::string textOf(const char* text) { return text == nullptr ? std::string() : text; }

std::string withSlashes(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

QString qtFilter(const vorntest::FileFilter& filter) {
  QString patterns = bytesToQString(filter.patterns);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  return bytesToQString(filter.description) + QLatin1String(" (") + patterns.simplified() +
         QLatin1Char(')');
}

bool showFileDialog(const OPENFILENAMEA& ofn, const vorntest::ShownFileDialog& shown,
                    std::string* path, DWORD* filterIndex) {
  bool accepted = false;
  runOnGuiThread([&]() {
    QWidget* parent = shown.owner == nullptr ? nullptr : topLevelWidgetOf(shown.owner);
    QString title = ofn.lpstrTitle != nullptr ? bytesToQString(ofn.lpstrTitle)
                                              : QString(shown.save ? "Save As" : "Open");
    QFileDialog dialog(parent, title, bytesToQString(withSlashes(shown.initialDir)));
    dialog.setAcceptMode(shown.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    bool mustExist = !shown.save && (ofn.Flags & OFN_FILEMUSTEXIST);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(ofn.Flags & OFN_OVERWRITEPROMPT));
    QStringList filters;
    for (const vorntest::FileFilter& filter : shown.filters) filters << qtFilter(filter);
    if (!filters.isEmpty()) {
      dialog.setNameFilters(filters);
      DWORD index = shown.filterIndex == 0 ? 1 : shown.filterIndex;
      if (index <= static_cast<DWORD>(filters.size())) dialog.selectNameFilter(filters[index - 1]);
    }
    if (ofn.lpstrDefExt != nullptr) dialog.setDefaultSuffix(bytesToQString(ofn.lpstrDefExt));
    if (!shown.initialFile.empty())
      dialog.selectFile(bytesToQString(withSlashes(shown.initialFile)));
    accepted = runDialog(dialog) && !dialog.selectedFiles().isEmpty();
    if (!accepted) return;
    *path = qStringToBytes(dialog.selectedFiles().first());
    int chosenFilter = filters.indexOf(dialog.selectedNameFilter());
    if (chosenFilter >= 0) *filterIndex = static_cast<DWORD>(chosenFilter + 1);
  });
  return accepted;
}

// Hands the path back; a path that does not fit leaves the size it needs in the first two
// bytes of the buffer, as callers that retry with a bigger one expect.
bool placeResult(OPENFILENAMEA* ofn, const std::string& path) {
  size_t needed = path.size() + 1;
  if (needed > ofn->nMaxFile || needed > 0xFFFF) {
    if (ofn->nMaxFile >= 2) {
      WORD size = static_cast<WORD>(needed > 0xFFFF ? 0xFFFF : needed);
      std::memcpy(ofn->lpstrFile, &size, sizeof size);
    }
    setDialogError(FNERR_BUFFERTOOSMALL);
    return false;
  }
  std::memcpy(ofn->lpstrFile, path.c_str(), needed);
  PathOffsets offsets = pathOffsets(path);
  ofn->nFileOffset = static_cast<WORD>(offsets.name);
  ofn->nFileExtension = static_cast<WORD>(offsets.extension);
  if (ofn->lpstrFileTitle != nullptr && ofn->nMaxFileTitle > 0) {
    size_t length = std::min(path.size() - offsets.name, size_t{ofn->nMaxFileTitle} - 1);
    std::memcpy(ofn->lpstrFileTitle, path.c_str() + offsets.name, length);
    ofn->lpstrFileTitle[length] = '\0';
  }
  return true;
}

BOOL runFileDialog(LPOPENFILENAMEA ofn, bool save) {
  if (ofn == nullptr || ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) {
    setDialogError(CDERR_INITIALIZATION);
    return FALSE;
  }
  setDialogError(0);
  vorntest::ShownFileDialog shown;
  shown.owner = IsWindow(ofn->hwndOwner) ? ofn->hwndOwner : nullptr;
  shown.save = save;
  shown.title = textOf(ofn->lpstrTitle);
  shown.initialDir = textOf(ofn->lpstrInitialDir);
  shown.initialFile.assign(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
  shown.filters = parseFileFilter(ofn->lpstrFilter);
  shown.filterIndex = ofn->nFilterIndex;
  shown.flags = ofn->Flags;
  shown.prepared = false;
  shown.confirmed = false;
  std::string path;
  DWORD filterIndex = ofn->nFilterIndex;
  // The program is ending: no dialog opens, none answers, and the GUI thread is not waited for.
  bool ending = endingRequested();
  Prepared prepared = ending ? Prepared::None : takeFileAnswer(&path);
  shown.prepared = prepared != Prepared::None;
  if (prepared == Prepared::Answer)
    shown.confirmed = !path.empty();
  else if (prepared == Prepared::None && !ending && !offscreenPlatform())
    shown.confirmed = showFileDialog(*ofn, shown, &path, &filterIndex);
  if (shown.confirmed) shown.result = withDefaultExtension(path, ofn->lpstrDefExt);
  recordFileDialog(shown);
  if (!shown.confirmed || !placeResult(ofn, shown.result)) return FALSE;
  if (!shown.filters.empty()) ofn->nFilterIndex = filterIndex;
  return TRUE;
}

}  // namespace
}  // namespace vornplatform

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) { return vornplatform::runFileDialog(ofn, false); }

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) { return vornplatform::runFileDialog(ofn, true); }
