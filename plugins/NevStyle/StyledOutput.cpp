#include "plugins/NevStyle/StyledOutput.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

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

// At most room bytes of text, not ending inside a UTF-8 sequence.
size_t shownLength(const char* text, size_t room) {
  size_t length = room;
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return length;
}

}  // namespace

const char StyledOutput::kCutMark[] = " [...]";

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
    session->printSystem("%s Error : Font '%s' Unknown !", ownerName.text(),
                        key != nullptr ? key : "");
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
  va_list again;
  va_copy(again, args);
  int written = std::vsnprintf(buffer, sizeof buffer, format, args);
  char* text = buffer;
  std::vector<char> whole;
  if (written >= static_cast<int>(sizeof buffer)) {
    // Formatted whole, so that its line break survives; the paragraph bound cuts what shows.
    whole.resize(static_cast<size_t>(written) + 1);
    std::vsnprintf(whole.data(), whole.size(), format, again);
    text = whole.data();
  }
  va_end(again);
  if (written <= 0) return;
  int length = static_cast<int>(std::strlen(text));
  if (length == 0) return;
  if (pendingNewline) {
    appendRun("\n", 1);
    pendingNewline = 0;
    startParagraph();
    countBreaks(1);
  }
  if (!isOn(withEmptyLine)) {
    auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    if (isBreak(text[length - 1])) {
      pendingNewline = 1;
      text[--length] = '\0';
      if (length > 0 && isBreak(text[length - 1])) text[--length] = '\0';
    }
  }
  if (length > 0) printText(text);
}

void StyledOutput::appendRun(const char* text, int length) {
  if (output == nullptr || length <= 0) return;
  run.assign(text, length);
  output->appendText(run.text());
}

void StyledOutput::printText(const char* text) {
  if (tab != nullptr) session->highlightSystemTab(tab, true);
  if (output == nullptr || text == nullptr) return;
  int breaks = 0;
  while (*text != '\0') {
    size_t content = std::strcspn(text, "\r\n");
    size_t ends = std::strspn(text + content, "\r\n");
    showPiece(text, content, ends);
    breaks += static_cast<int>(std::count(text + content, text + content + ends, '\n'));
    text += content + ends;
  }
  countBreaks(breaks);
}

// The content of a paragraph (or its next part) and the breaks after it, bounded.
void StyledOutput::showPiece(const char* text, size_t content, size_t breaks) {
  size_t room = paragraphCut ? 0 : static_cast<size_t>(ParagraphShown - paragraphBytes);
  size_t shown = content <= room ? content : shownLength(text, room);
  piece.assign(text, shown);
  if (shown < content && !paragraphCut) {
    piece += kCutMark;
    paragraphCut = true;
  }
  paragraphBytes += static_cast<int>(shown);
  piece.append(text + content, breaks);
  if (!piece.empty()) appendShown(piece.c_str());
  if (breaks > 0) startParagraph();
}

void StyledOutput::startParagraph() {
  paragraphBytes = paragraphPictures = 0;
  paragraphCut = false;
}

void StyledOutput::appendShown(const char* text) {
  if (!isOn(emoticons)) {
    output->appendText(text);
    return;
  }
  bool doubles = isOn(doubleEmoticons);
  int from = 0;
  while (paragraphPictures < PicturesPerParagraph) {
    EmoticonMatch found = nextEmoticon(text, from, doubles);
    if (found.length == 0) break;
    appendRun(text + from, found.offset - from);
    HBITMAP picture = (sharedPictures != nullptr ? sharedPictures : &loaded)->get(found.picture);
    if (picture == nullptr || !output->appendPicture(picture)) {
      // What cannot be shown as a picture stays readable as text.
      output->appendText(text + found.offset);
      return;
    }
    ++paragraphPictures;
    from = found.offset + found.length;
  }
  if (text[from] != '\0') output->appendText(text + from);
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

// The display line where the cut for both limits starts (-1: none), and its character.
int StyledOutput::cutPosition(HWND pane, int count, int* removed) {
  int cutLine = -1;
  // A fifth over a limit before cutting back to it: each cut costs a layout of what stays.
  if (lineLimit > 0 && count > lineLimit + lineLimit / 5)
    cutLine = paragraphStartFrom(pane, count - lineLimit, count, removed);
  int bytes = output->getTextLength();
  if (byteLimit <= 0 || bytes <= byteLimit + byteLimit / 5) return cutLine;
  int at = 0;
  int byBytes = paragraphStartFrom(pane, output->lineFromChar(bytes - byteLimit), count, &at);
  if (byBytes <= cutLine) return cutLine;
  *removed = at;
  return byBytes;
}

int StyledOutput::trimToLimit() {
  if (output == nullptr || (lineLimit <= 0 && byteLimit <= 0)) return 0;
  HWND pane = output->getHwnd();
  int count = static_cast<int>(SendMessageA(pane, EM_GETLINECOUNT, 0, 0));
  int removed = 0;
  int cutLine = cutPosition(pane, count, &removed);
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
