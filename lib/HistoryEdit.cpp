#include "lib/HistoryEdit.h"

#include <algorithm>
#include <cctype>
#include <cstring>

HistoryEdit::HistoryEdit(const char* name)
    : SimpleEdit(name), lineBuffer(512, 16), browsing(0), typed(512, 12) {}

void HistoryEdit::readLine() {
  typed.ensure(getTextLength());
  if (!typed.data()) {
    typed.clear();
    return;
  }
  // The storage holds capacity() characters and the NUL, so a line that fills it stays whole.
  GetWindowTextA(hwnd, typed.data(), typed.capacity() + 1);
  typed.recount();
}

void HistoryEdit::showFound(const char* found) {
  if (found) {
    setText(found);
  } else {
    setText(typed.text());
    browsing = 0;
  }
}

void HistoryEdit::browseUp() {
  if (browsing) {
    if (typed.length() > 0)
      showFound(history.findNext(typed.text()));
    else
      setText(history.next());
    return;
  }
  browsing = 1;
  readLine();
  if (typed.length() > 0) {
    const char* found = history.findFirst(typed.text());
    if (found) {
      setText(found);
      return;
    }
    // Keep what was typed; walking on starts behind it.
    if (history.add(typed.text())) history.next();
  }
  typed.clear();
  setText(history.next());
}

void HistoryEdit::browseDown() {
  if (browsing) {
    if (typed.length() > 0)
      showFound(history.findPrevious(typed.text()));
    else
      setText(history.previous());
    return;
  }
  browsing = 1;
  readLine();
  if (typed.length() > 0) history.add(typed.text());
  typed.clear();
  setText("");
}

bool HistoryEdit::onKey(int key, bool down) {
  if (down && key == VK_UP) {
    browseUp();
    return true;
  }
  if (down && key == VK_DOWN) {
    browseDown();
    return true;
  }
  if (down) browsing = 0;
  return TextControl::onKey(key, down);
}

bool HistoryEdit::onChar(int code) {
  browsing = 0;
  return TextControl::onChar(code);
}

bool HistoryEdit::onEnter() {
  browsing = 0;
  readLine();
  if (typed.length() > 0) history.add(typed.text());
  return SimpleEdit::onEnter();
}

namespace {

// The word being completed; one for the whole module, as only one key press runs at a time.
const int WordSize = 512;
char completionBuffer[WordSize];

bool startsWithIgnoringCase(const char* text, size_t textLength, const char* prefix,
                            size_t prefixLength) {
  if (textLength < prefixLength) return false;
  for (size_t i = 0; i < prefixLength; ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

// The word at or after pos in a list separated by runs of separator; false at the end.
bool wordAt(const char* list, size_t& pos, char separator, size_t& length) {
  while (list[pos] == separator) ++pos;
  if (!list[pos]) return false;
  length = 0;
  while (list[pos + length] && list[pos + length] != separator) ++length;
  return true;
}

}  // namespace

HistoryEditEx::HistoryEditEx(const char* name)
    : HistoryEdit(name),
      completionKey(VK_TAB),
      firstWordList(4096, 1024),
      otherWordList(4096, 1024),
      separator(' '),
      savedSelection{0, 0} {}

bool HistoryEditEx::onKey(int key, bool down) {
  if (down && key == completionKey) {
    complete();
    return true;
  }
  return HistoryEdit::onKey(key, down);
}

bool HistoryEditEx::onChar(int code) {
  if (code == completionKey) return true;
  return HistoryEdit::onChar(code);
}

void HistoryEditEx::setCompletionKey(int key) { completionKey = key; }

void HistoryEditEx::setWordList(const char* text, bool firstWord) {
  TextBuffer& list = firstWord ? firstWordList : otherWordList;
  list.assign(text);
  list.trim(true);
  list.trim(false);
}

namespace {
LONG wordBreak(HWND hwnd, int code, LONG pos) {
  return static_cast<LONG>(SendMessageA(hwnd, EM_FINDWORDBREAK, code, pos));
}
}  // namespace

bool HistoryEditEx::selectCurrentWord() {
  SendMessageA(hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&savedSelection));
  if (savedSelection.cpMin != savedSelection.cpMax) return false;
  LONG caret = savedSelection.cpMin;
  LONG from =
      wordBreak(hwnd, WB_ISDELIMITER, caret) ? caret : wordBreak(hwnd, WB_RIGHTBREAK, caret);
  LONG start = wordBreak(hwnd, WB_MOVEWORDLEFT, from);
  LONG end = start;
  if (!wordBreak(hwnd, WB_ISDELIMITER, start))
    end = wordBreak(hwnd, WB_LEFT, wordBreak(hwnd, WB_MOVEWORDRIGHT, start));
  SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(start), end);
  return start == 0;
}

bool HistoryEditEx::takeCurrentWord() {
  bool first = selectCurrentWord();
  CHARRANGE selection = {0, 0};
  SendMessageA(hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  LONG start = std::max<LONG>(0, std::min(selection.cpMin, selection.cpMax));
  LONG end = std::max(selection.cpMin, selection.cpMax);
  // However much the user selected, only what the word buffer holds is read.
  end = std::min<LONG>(end, start + (WordSize - 1));
  completionBuffer[0] = 0;
  if (end > start) {
    TEXTRANGEA range = {{start, end}, completionBuffer};
    LRESULT copied = SendMessageA(hwnd, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    completionBuffer[std::max<LRESULT>(0, std::min<LRESULT>(copied, WordSize - 1))] = 0;
  }
  return first;
}

bool HistoryEditEx::completeFrom(TextBuffer& wordList) {
  const char* list = wordList.text();
  size_t wordLength = std::strlen(completionBuffer);
  if (!*list || wordLength == 0) return false;
  size_t pos = 0, length = 0;
  while (wordAt(list, pos, separator, length) &&
         !startsWithIgnoringCase(list + pos, length, completionBuffer, wordLength))
    pos += length;
  if (!list[pos]) return false;
  if (length == wordLength && std::memcmp(list + pos, completionBuffer, length) == 0) {
    // Already complete: the next word of the list, after the last the first.
    pos += length;
    if (!wordAt(list, pos, separator, length)) {
      pos = 0;
      wordAt(list, pos, separator, length);
    }
  }
  length = std::min<size_t>(length, WordSize - 1);
  std::memmove(completionBuffer, list + pos, length);
  completionBuffer[length] = 0;
  return true;
}

void HistoryEditEx::complete() {
  bool first = takeCurrentWord();
  if ((first && completeFrom(firstWordList)) || completeFrom(otherWordList))
    SendMessageA(hwnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(completionBuffer));
  else
    SendMessageA(hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&savedSelection));
}
