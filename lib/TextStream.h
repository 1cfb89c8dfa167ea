// Formats text into a fixed buffer and writes it line by line behind a prefix that shows
// nested sections ("+> " opens/closes one, "| " marks each open level, "-> " starts a line).
#pragma once

#include <cstdarg>

#define VORN_PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))

class TextStream {
 public:
  explicit TextStream(int size);
  virtual ~TextStream();

  // Formats into the text area and writes it line by line (see flushLines).
  virtual void printf(const char* fmt, ...) VORN_PRINTF_LIKE(2, 3);
  // Formats and writes the text alone: no prefix, no line splitting.
  virtual void printLine(const char* fmt, ...) VORN_PRINTF_LIKE(2, 3);
  // Ends the open line, then writes an empty line carrying the open levels' bars.
  virtual void newLine();
  virtual void endLine();
  virtual void beginSection(const char* fmt, ...) VORN_PRINTF_LIKE(2, 3);
  virtual void endSection(const char* fmt, ...) VORN_PRINTF_LIKE(2, 3);
  virtual void indent();
  virtual void outdent();
  virtual void resetIndent();

 protected:
  // Writes "\n" when a line is open and marks the line closed.
  virtual void closeLine();
  // Writes the text area: continues an open line, then one prefixed write per line.
  virtual void flushLines();
  // Where the text goes; this class drops it.
  virtual void write(const char* text);

  void formatV(const char* fmt, va_list args);
  void formatThenFlush(const char* fmt, va_list args);
  int prefixLength() const { return static_cast<int>(cursor_ - buffer_); }
  // Replaces the prefix's last three characters.
  void setPrefixEnd(const char* three);
  // Whether the prefix may grow by one level and still leave a usable text area.
  bool canGrow() const;
  // Grows the prefix by one level: the mark ("|" or " ") and a blank before its "-> ".
  void growPrefix(char mark);

 private:
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;

  int ownsBuffer_;
  char* buffer_;
  char* cursor_;
  int size_;
  bool lineClosed_;
  char bar_;
  // Levels that were asked for while the prefix could not grow; they have no visible mark and
  // are only counted so that the matching endSection/outdent calls pop them first.
  int refusedOuterIndents_ = 0;  // refused indents before the first refused section
  int refusedSections_ = 0;
  int refusedInnerIndents_ = 0;  // refused indents after the last refused section
  char fallback_[32];
};
