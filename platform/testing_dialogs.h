// Test hooks of the common dialogs and the shell: prepared answers for the next font, colour,
// file and folder dialog, records of what each showed, ShellExecuteA records and file drops.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace vorntest {

// A dialog with a prepared answer is recorded and never shown. Answers queue up per kind of
// dialog, in order. Without an answer the dialog is shown for real, except under the
// "offscreen" platform, where it is cancelled at once (and recorded) instead of blocking.

// --- Font dialog -------------------------------------------------------------------------------
struct FontChoice {
  std::string face;
  int pointSize = 100;  // tenths of a point
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  COLORREF colour = 0;  // reported with CF_EFFECTS
};
// The user confirms this font.
VORNAPI void answerNextFontDialog(const FontChoice& choice);
// The user confirms what the dialog showed first.
VORNAPI void answerNextFontDialogUnchanged();
VORNAPI void cancelNextFontDialog();
struct ShownFontDialog {
  HWND owner;
  DWORD flags;
  FontChoice shown;  // the initial font as the dialog showed it
  bool prepared;     // an answer was queued (false: offscreen cancel or a real dialog)
  bool confirmed;    // ChooseFontA returned TRUE
};
VORNAPI std::vector<ShownFontDialog> shownFontDialogs();

// --- Colour dialog -----------------------------------------------------------------------------
struct ColourChoice {
  COLORREF colour = 0;
  // The user also stored customColour in custom slot customIndex (0-15; -1: none).
  int customIndex = -1;
  COLORREF customColour = 0;
};
VORNAPI void answerNextColourDialog(const ColourChoice& choice);
VORNAPI void cancelNextColourDialog();
struct ShownColourDialog {
  HWND owner;
  DWORD flags;
  COLORREF initial;                     // the colour the dialog started on
  std::vector<COLORREF> customColours;  // the 16 custom colours it showed (empty: none passed)
  bool prepared;
  bool confirmed;
};
VORNAPI std::vector<ShownColourDialog> shownColourDialogs();

// --- Open/save file and folder dialogs ---------------------------------------------------------
// The user picks path (any separator; kept as given apart from a default extension).
VORNAPI void answerNextFileDialog(const char* path);
VORNAPI void cancelNextFileDialog();
struct FileFilter {
  std::string description;
  std::string patterns;  // as passed, e.g. "*.txt;*.log"
};
struct ShownFileDialog {
  HWND owner;
  bool save;  // GetSaveFileNameA
  std::string title;
  std::string initialDir;
  std::string initialFile;  // what lpstrFile held
  std::vector<FileFilter> filters;
  DWORD filterIndex;
  DWORD flags;
  bool prepared;
  bool confirmed;
  std::string result;  // the path handed back, when confirmed
};
VORNAPI std::vector<ShownFileDialog> shownFileDialogs();

VORNAPI void answerNextFolderDialog(const char* path);
VORNAPI void cancelNextFolderDialog();
struct ShownFolderDialog {
  HWND owner;
  std::string title;
  UINT flags;
  bool prepared;
  bool confirmed;
  std::string result;
};
VORNAPI std::vector<ShownFolderDialog> shownFolderDialogs();

// Forgets every dialog record and every answer not used yet.
VORNAPI void clearDialogs();

// --- ShellExecuteA -----------------------------------------------------------------------------
struct ShellExecuteCall {
  HWND hwnd;
  std::string operation;
  std::string target;
  bool allowed;     // it would have been handed to the desktop
  std::string url;  // what the desktop would have been given (empty when refused)
  INT_PTR result;   // what ShellExecuteA returned
};
// While recording, ShellExecuteA decides as always, records the call and opens nothing. Under
// the "offscreen" platform calls are recorded and nothing is opened even without recording.
VORNAPI void recordShellExecute(bool on);
VORNAPI std::vector<ShellExecuteCall> shellExecuteCalls();
VORNAPI void clearShellExecuteCalls();

// --- Dropped files -----------------------------------------------------------------------------
// Drops local files on the window's client area at (x, y) through the window's Qt drag-and-drop
// path; a window that accepts files then gets WM_DROPFILES posted (pump to see it). False for
// a dead window or one that does not accept files.
VORNAPI bool dropFiles(HWND hwnd, const std::vector<std::string>& paths, int x = 0, int y = 0);
// Drops still not freed with DragFinish.
VORNAPI int openDrops();

}  // namespace vorntest
