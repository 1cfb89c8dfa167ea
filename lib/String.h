// Text of the whole system: one NUL-terminated 8-bit text in a heap buffer that grows in steps.
// Composite edits call the primitives through the virtual table, so overriding one changes them.
#pragma once

#include <cstdarg>

#if defined(__GNUC__)
#define VORN_PRINTF(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define VORN_PRINTF(fmtIndex, firstArg)
#endif

class String {
 public:
  String();
  String(const char* s);
  explicit String(char c);
  String(const String& other);
  // Copies the other's text; keeps this string's own buffer and grow step.
  String& operator=(const String& other);
  virtual ~String();

  // The virtual operations, in the order of the virtual table.
  virtual String& reserve(int n);
  virtual String& grow(int n);
  virtual String& format(const char* fmt, ...) VORN_PRINTF(2, 3);
  virtual String& vformat(const char* fmt, va_list args) VORN_PRINTF(2, 0);
  virtual String& assign(const char* buf, int len);
  virtual String& assign(const char* s);
  virtual bool isAlnum() const;
  virtual int find(char ch, int start) const;
  virtual int find(const char* text, int start) const;
  virtual bool startsWith(const char* s, int n) const;
  virtual String& append(const char* buf, int len);
  virtual String& append(const char* s);
  virtual String& trim(int side);
  virtual String& insert(int position, const char* text);
  virtual String& removeAll(const char* text);
  virtual String& erase(int position, int count);
  virtual String& replaceChar(char from, char to);
  virtual String& replaceAll(const char* from, const char* to);
  virtual String& replaceAt(int position, int count, const char* text);
  virtual String& collapse(char ch);
  virtual String mid(int position, int count) const;
  virtual String& assign(const String& other);
  virtual String& append(const String& other);
  virtual String& unescape();
  virtual String& sortWords(char separator);

  // The text; "" when there is no buffer.
  const char* text() const { return text_ ? text_ : ""; }
  // The buffer itself (null when there is none), for callers that print into a reserved string.
  char* buffer() { return text_; }
  int length() const;
  int capacity() const { return capacity_; }
  int growStep() const { return growStep_; }

 private:
  bool holds(const char* p) const;
  void empty();

  char* text_;
  int capacity_;
  int growStep_;
};

// Prints into one static 4096-byte buffer per thread and returns it; each call overwrites it.
const char* formatStatic(const char* fmt, ...) VORN_PRINTF(1, 2);
