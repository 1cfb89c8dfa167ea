// Text streams: formatting into a fixed buffer, line splitting and the nesting prefix.
#include "lib/TextStream.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// The prefix never grows past the point where fewer bytes than this remain for text.
const int kMinTextArea = 16;
const int kPrefixEnd = 3;   // "-> " or "+> "
const int kLevelWidth = 2;  // "| " or "  "
}  // namespace

TextStream::TextStream(int size)
    : ownsBuffer_(1),
      buffer_(nullptr),
      cursor_(nullptr),
      size_(size),
      lineClosed_(true),
      bar_('|') {
  if (size_ < kPrefixEnd + kMinTextArea) size_ = kPrefixEnd + kMinTextArea;
  buffer_ = static_cast<char*>(std::malloc(static_cast<size_t>(size_)));
  if (!buffer_) {
    // Out of memory: keep working on a small buffer of our own rather than on null.
    ownsBuffer_ = 0;
    buffer_ = fallback_;
    size_ = static_cast<int>(sizeof fallback_);
  }
  std::memset(buffer_, 0, static_cast<size_t>(size_));
  resetIndent();
}

TextStream::~TextStream() {
  if (ownsBuffer_) std::free(buffer_);
}

void TextStream::printf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  formatThenFlush(fmt, args);
  va_end(args);
}

void TextStream::printLine(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  formatV(fmt, args);
  va_end(args);
  closeLine();
  write(cursor_);
}

void TextStream::newLine() {
  closeLine();
  // The prefix sits right before the text area; cut it for one write without its "-> ".
  char* end = cursor_ - kPrefixEnd;
  char saved = *end;
  *end = '\0';
  write(buffer_);
  *end = saved;
  write("\n");
}

void TextStream::endLine() { closeLine(); }

void TextStream::beginSection(const char* fmt, ...) {
  if (!canGrow()) {
    // Too deep to show another level: the call does nothing, its endSection will match it.
    ++refusedSections_;
    return;
  }
  closeLine();
  setPrefixEnd("+> ");
  va_list args;
  va_start(args, fmt);
  formatThenFlush(fmt, args);
  va_end(args);
  growPrefix(bar_);
}

void TextStream::endSection(const char* fmt, ...) {
  if (refusedSections_ > 0) {
    --refusedSections_;
    refusedInnerIndents_ = 0;
    return;
  }
  closeLine();
  refusedOuterIndents_ = 0;
  // Step back over the indents of this level to the bar that marks the section.
  int p = prefixLength() - kPrefixEnd;
  while (p > 0) {
    p -= kLevelWidth;
    if (buffer_[p] == bar_) break;
  }
  bool onBar = buffer_[p] == bar_;
  cursor_ = buffer_ + p + kPrefixEnd;
  setPrefixEnd(onBar ? "+> " : "-> ");
  va_list args;
  va_start(args, fmt);
  formatThenFlush(fmt, args);
  va_end(args);
  setPrefixEnd("-> ");
}

void TextStream::indent() {
  if (refusedSections_ > 0) {
    ++refusedInnerIndents_;
    return;
  }
  if (!canGrow()) {
    ++refusedOuterIndents_;
    return;
  }
  closeLine();
  growPrefix(' ');
}

void TextStream::outdent() {
  if (refusedInnerIndents_ > 0) {
    --refusedInnerIndents_;
    return;
  }
  if (refusedSections_ > 0) return;  // at a (hidden) section level, like at a visible one
  if (refusedOuterIndents_ > 0) {
    --refusedOuterIndents_;
    return;
  }
  closeLine();
  int len = prefixLength();
  if (len == kPrefixEnd) return;
  if (buffer_[len - kPrefixEnd - kLevelWidth] == bar_) return;
  cursor_ -= kLevelWidth;
  setPrefixEnd("-> ");
  *cursor_ = '\0';
}

void TextStream::resetIndent() {
  cursor_ = buffer_ + kPrefixEnd;
  setPrefixEnd("-> ");
  *cursor_ = '\0';
  refusedOuterIndents_ = 0;
  refusedSections_ = 0;
  refusedInnerIndents_ = 0;
}

void TextStream::closeLine() {
  if (lineClosed_) return;
  write("\n");
  lineClosed_ = true;
}

void TextStream::flushLines() {
  char* p = cursor_;
  if (!lineClosed_) {
    char* lf = std::strchr(p, '\n');
    if (!lf) {
      write(p);
      return;
    }
    char* end = (lf > p && lf[-1] == '\r') ? lf - 1 : lf;
    *end = '\0';
    write(p);
    write("\n");
    lineClosed_ = true;
    p = lf + 1;
    if (*p == '\r') ++p;
  }
  while (*p) {
    char* lf = std::strchr(p, '\n');
    size_t len = lf ? static_cast<size_t>(lf - p) : std::strlen(p);
    if (lf && len > 0 && p[len - 1] == '\r') --len;
    // Move the line right behind the prefix so that both go out in one write. The line only
    // moves left, over text already written, so the rest of the text stays intact.
    std::memmove(cursor_, p, len);
    cursor_[len] = '\0';
    write(buffer_);
    if (!lf) {
      lineClosed_ = false;
      return;
    }
    write("\n");
    p = lf + 1;
    if (*p == '\r') ++p;
  }
  lineClosed_ = true;
}

void TextStream::write(const char*) {}

void TextStream::formatV(const char* fmt, va_list args) {
  int room = size_ - prefixLength();
  if (!fmt || std::vsnprintf(cursor_, static_cast<size_t>(room), fmt, args) < 0) *cursor_ = '\0';
  buffer_[size_ - 1] = '\0';
}

void TextStream::formatThenFlush(const char* fmt, va_list args) {
  formatV(fmt, args);
  flushLines();
}

void TextStream::setPrefixEnd(const char* three) {
  std::memcpy(cursor_ - kPrefixEnd, three, kPrefixEnd);
}

bool TextStream::canGrow() const { return size_ - prefixLength() - kLevelWidth >= kMinTextArea; }

void TextStream::growPrefix(char mark) {
  if (!canGrow()) return;
  cursor_[-kPrefixEnd] = mark;
  cursor_[-kPrefixEnd + 1] = ' ';
  cursor_ += kLevelWidth;
  setPrefixEnd("-> ");
  *cursor_ = '\0';
}
