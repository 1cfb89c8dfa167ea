#include "plugins/NevStyle/StyledOutput.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The first display line from line on that begins a paragraph (-1: none), and where it begins.
int paragraphStartFrom(HWND pane, int line, int count, int* at) {
  for (; line < count; ++line) {
    LRESULT index = SendMessageA(pane, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (index <= 0) return -1;
    char before[2] = {};
    TEXTRANGEA range = {{static_cast<LONG>(index - 1), static_cast<LONG>(index)}, before};
    SendMessageA(pane, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    if (before[0] == '\r' || before[0] == '\n') {
      *at = static_cast<int>(index);
      return line;
    }
  }
  return -1;
}

}  // namespace

StyledOutput::StyledOutput(PlugsSession* session) : session(session) { buffer[0] = '\0'; }

StyledOutput::~StyledOutput() { setOutput(nullptr, nullptr, 0); }

void StyledOutput::setOutput(RichEdit* pane, const char* face, int size) {
  if (font != nullptr) font->releaseOwner();
  font = nullptr;
  output = pane;
  if (output == nullptr) return;
  font = new Font(face != nullptr ? face : "", size);
  output->setFont(font);
}

void StyledOutput::bindFlags(const unsigned char* emptyLine, const unsigned char* pictures,
                             const unsigned char* doubles) {
  withEmptyLine = emptyLine;
  emoticons = pictures;
  doubleEmoticons = doubles;
}

void StyledOutput::setTextColor(const char* key) {
  if (output != nullptr) output->setTextColour(session->getColor(key));
}

bool StyledOutput::setTextFont(const char* key) {
  FontRecord record = session->getFont(key);
  if (record.face == nullptr || record.face[0] == '\0') {
    session->setSystemColor(255, 0, 0);
    session->printSystem("NevChat Error : Font '%s' Unknown !", key != nullptr ? key : "");
    return false;
  }
  if (font != nullptr) {
    if (std::strcmp(font->getFace(), record.face) != 0) font->setFace(record.face);
    font->setSize(record.size);
    font->setStyle(record.style);
  }
  return true;
}

void StyledOutput::print(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vprint(format, args);
  va_end(args);
}

void StyledOutput::vprint(const char* format, va_list args) {
  if (format == nullptr) return;
  int written = std::vsnprintf(buffer, sizeof buffer, format, args);
  if (written <= 0) return;
  int length = static_cast<int>(std::strlen(buffer));
  if (length == 0) return;
  if (pendingNewline) {
    appendRun("\n", 1);
    pendingNewline = 0;
    countBreaks(1);
  }
  if (!isOn(withEmptyLine)) {
    auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    if (isBreak(buffer[length - 1])) {
      pendingNewline = 1;
      buffer[--length] = '\0';
      if (length > 0 && isBreak(buffer[length - 1])) buffer[--length] = '\0';
    }
  }
  if (length > 0) printText(buffer);
}

void StyledOutput::appendRun(const char* text, int length) {
  if (output == nullptr || length <= 0) return;
  run.assign(text, length);
  output->appendText(run.text());
}

void StyledOutput::printText(const char* text) {
  if (tab != nullptr) session->highlightSystemTab(tab, true);
  if (output == nullptr || text == nullptr) return;
  int breaks = static_cast<int>(std::count(text, text + std::strlen(text), '\n'));
  if (!isOn(emoticons)) {
    output->appendText(text);
    countBreaks(breaks);
    return;
  }
  bool doubles = isOn(doubleEmoticons);
  int from = 0;
  for (;;) {
    EmoticonMatch found = nextEmoticon(text, from, doubles);
    if (found.length == 0) break;
    appendRun(text + from, found.offset - from);
    HBITMAP picture = loaded.get(found.picture);
    if (picture == nullptr || !output->appendPicture(picture)) {
      // What cannot be shown as a picture stays readable as text.
      output->appendText(text + found.offset);
      countBreaks(breaks);
      return;
    }
    from = found.offset + found.length;
  }
  if (text[from] != '\0') output->appendText(text + from);
  countBreaks(breaks);
}

void StyledOutput::setLineLimit(int lines, int every) {
  lineLimit = std::max(0, lines);
  checkEvery = std::max(1, every);
  breaksSinceCheck = 0;
}

void StyledOutput::countBreaks(int breaks) {
  breaksSinceCheck += breaks;
  if (breaksSinceCheck < checkEvery) return;
  breaksSinceCheck = 0;
  trimToLimit();
}

int StyledOutput::trimToLimit() {
  if (output == nullptr || lineLimit <= 0) return 0;
  HWND pane = output->getHwnd();
  int count = static_cast<int>(SendMessageA(pane, EM_GETLINECOUNT, 0, 0));
  // A fifth over the limit before cutting back to it: each cut costs a layout of what stays.
  if (count <= lineLimit + lineLimit / 5) return 0;
  int removed = 0;
  int cutLine = paragraphStartFrom(pane, count - lineLimit, count, &removed);
  if (cutLine < 0) return 0;
  int first = output->getFirstVisibleLine();
  bool following = output->updateAutoScroll();
  // As an append does: a focused read-only pane takes no edits.
  bool lifted = GetFocus() == pane;
  if (lifted)
    SendMessageA(pane, EM_SETOPTIONS, ECOOP_AND, static_cast<LPARAM>(~ECO_READONLY & 0xFFFFFFFF));
  SendMessageA(pane, EM_SETSEL, 0, removed);
  SendMessageA(pane, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
  if (lifted) SendMessageA(pane, EM_SETOPTIONS, ECOOP_OR, ECO_READONLY);
  // Asking where the view is lays the removal out on its own: left to join the appends that
  // follow, it would make the whole text count as changed and be laid out again.
  output->getFirstVisibleLine();
  if (following)
    output->scrollToEnd();
  else
    output->scrollToLine(std::max(0, first - cutLine));
  if (onTrimmed) onTrimmed(removed);
  return removed;
}
