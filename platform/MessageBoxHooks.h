// Internal to platform/: the prepared answers and records of message boxes and beeps that
// platform/testing.h exposes, so tests see every box without a modal dialog blocking them.
#pragma once

#include <string>
#include <vector>

#include "platform/win32_window.h"

namespace vornplatform {

struct MessageBoxRecord {
  HWND owner;
  std::string caption;
  std::string text;
  UINT flags;
  int answer;
};

// Queues an answer for the next box; boxes with an answer are recorded and never shown.
void queueMessageBoxAnswer(int button);
std::vector<MessageBoxRecord> messageBoxRecords();
void clearMessageBoxRecords();  // also drops answers not used yet

std::vector<UINT> beepRecords();
void clearBeepRecords();

}  // namespace vornplatform
