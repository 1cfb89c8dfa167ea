#include "plugins/NevStyle/StyledOutput.h"

#include <cstdio>
#include <cstring>

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
  if (!isOn(emoticons)) {
    output->appendText(text);
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
      return;
    }
    from = found.offset + found.length;
  }
  if (text[from] != '\0') output->appendText(text + from);
}
