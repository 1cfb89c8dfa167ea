// Internal to platform/: the prepared answers and records behind the dialog test hooks, plus
// what every dialog needs (showing on the GUI thread, the offscreen check, the extended error).
#pragma once

#include <functional>
#include <string>

#include "platform/testing_dialogs.h"

namespace vornplatform {

// What the test prepared for the next dialog of a kind.
enum class Prepared { None, Cancel, Answer, Unchanged };

Prepared takeFontAnswer(vorntest::FontChoice* choice);
void recordFontDialog(const vorntest::ShownFontDialog& shown);
Prepared takeColourAnswer(vorntest::ColourChoice* choice);
void recordColourDialog(const vorntest::ShownColourDialog& shown);
Prepared takeFileAnswer(std::string* path);
void recordFileDialog(const vorntest::ShownFileDialog& shown);
Prepared takeFolderAnswer(std::string* path);
void recordFolderDialog(const vorntest::ShownFolderDialog& shown);

// Whether ShellExecuteA must only record (a test records, or no desktop is there to open).
bool shellOnlyRecords();
void recordShellCall(const vorntest::ShellExecuteCall& call);

// True under the "offscreen" platform, where a dialog nobody answers would block forever.
bool offscreenPlatform();
// Runs work on the application's thread and waits for it.
void runOnGuiThread(const std::function<void()>& work);
// The code CommDlgExtendedError reports.
void setDialogError(unsigned code);

}  // namespace vornplatform
