// Text of the whole system: one NUL-terminated 8-bit text in a heap buffer that grows in steps.
// Composite edits call the primitives through the virtual table, so overriding one changes them.
#include "lib/String.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kGrowStep = 256;
const int kStaticFormatSize = 4096;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Letters and digits as the "C" locale classifies them, whatever locale the process runs in.
bool isAsciiAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Digits of an escaped byte: only 0-9 and upper-case A-F count; returns -1 otherwise.
int upperHexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The byte a simple escape stands for, or -1 when the character is not one of them.
int simpleEscape(char c) {
  switch (c) {
    case '"':
      return '"';
    case '\'':
      return '\'';
    case '\\':
      return '\\';
    case 'a':
      return 7;
    case 'b':
      return 8;
    case 'f':
      return 12;
    case 'n':
      return 10;
    case 'r':
      return 13;
    case 't':
      return 9;
    case 'v':
      return 11;
    default:
      return -1;
  }
}

struct Word {
  const char* start;
  int length;
};

// Case-insensitive over the shorter word; on a tie the shorter word comes first.
bool wordBefore(const Word& a, const Word& b) {
  int common = std::min(a.length, b.length);
  for (int i = 0; i < common; ++i) {
    unsigned char ca = (unsigned char)foldCase(a.start[i]);
    unsigned char cb = (unsigned char)foldCase(b.start[i]);
    if (ca != cb) return ca < cb;
  }
  return a.length < b.length;
}

}  // namespace

String::String() : text_(nullptr), capacity_(0), growStep_(kGrowStep) {}

String::String(const char* s) : text_(nullptr), capacity_(0), growStep_(kGrowStep) {
  if (!s) return;
  size_t n = std::strlen(s) + 1;
  text_ = (char*)std::malloc(n);
  std::memcpy(text_, s, n);
  capacity_ = (int)n;
}

String::String(char c) : text_((char*)std::malloc(2)), capacity_(2), growStep_(kGrowStep) {
  text_[0] = c;
  text_[1] = '\0';
}

String::String(const String& other) : text_(nullptr), capacity_(0), growStep_(other.growStep_) {
  if (other.capacity_ == 0) return;
  text_ = (char*)std::malloc(other.capacity_);
  capacity_ = other.capacity_;
  std::strcpy(text_, other.text_);
}

String& String::operator=(const String& other) {
  if (this != &other) assign(other);
  return *this;
}

String::~String() { std::free(text_); }

int String::length() const { return text_ ? (int)std::strlen(text_) : 0; }

// Whether p points into the own buffer: such a source must be copied aside before editing.
bool String::holds(const char* p) const {
  uintptr_t at = (uintptr_t)p;
  uintptr_t begin = (uintptr_t)text_;
  return text_ && at >= begin && at < begin + (uintptr_t)capacity_;
}

void String::empty() {
  if (text_) text_[0] = '\0';
}

String& String::reserve(int n) {
  std::free(text_);
  text_ = nullptr;
  capacity_ = 0;
  if (n > 0) {
    text_ = (char*)std::malloc(n);
    text_[0] = '\0';
    capacity_ = n;
  }
  return *this;
}

String& String::grow(int n) {
  if (n <= capacity_) return *this;
  int64_t wanted = capacity_ + ((int64_t)(n - capacity_) / growStep_ + 1) * growStep_;
  int newCapacity = (int)std::min<int64_t>(wanted, INT_MAX);
  char* buffer = (char*)std::malloc(newCapacity);
  std::strcpy(buffer, text());
  std::free(text_);
  text_ = buffer;
  capacity_ = newCapacity;
  return *this;
}

String& String::format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vformat(fmt, args);
  va_end(args);
  return *this;
}

String& String::vformat(const char* fmt, va_list args) {
  if (!text_) return *this;
  // Printed aside first, so arguments that point into the own text read it unchanged.
  std::vector<char> out(capacity_);
  std::vsnprintf(out.data(), out.size(), fmt, args);
  out[capacity_ - 1] = '\0';
  std::memcpy(text_, out.data(), capacity_);
  return *this;
}

String& String::assign(const char* buf, int len) {
  if (len < 1) {
    empty();
    return *this;
  }
  std::string aside;
  if (holds(buf)) {
    int available = (int)(text_ + capacity_ - buf);
    len = std::min(len, available);
    aside.assign(buf, len);
    buf = aside.data();
  }
  grow(len + 1);
  if (buf) {
    std::memcpy(text_, buf, len);
    text_[len] = '\0';
  }
  return *this;
}

String& String::assign(const char* s) {
  if (!s) {
    empty();
    return *this;
  }
  return assign(s, (int)std::strlen(s));
}

bool String::isAlnum() const {
  for (const char* p = text(); *p; ++p)
    if (!isAsciiAlnum(*p)) return false;
  return true;
}

int String::find(char ch, int start) const {
  int len = length();
  if (!text_ || start < 0 || start >= len) return -1;
  const void* hit = std::memchr(text_ + start, ch, len - start);
  return hit ? (int)((const char*)hit - text_) : -1;
}

int String::find(const char* text, int start) const {
  if (!text_ || !text || start < 0 || start >= length()) return -1;
  const char* hit = std::strstr(text_ + start, text);
  return hit ? (int)(hit - text_) : -1;
}

bool String::startsWith(const char* s, int n) const {
  if (!text_ || !s || n < -1) return false;
  size_t count = n == -1 ? std::strlen(s) : (size_t)n;
  return std::strncmp(text_, s, count) == 0;
}

String& String::append(const char* buf, int len) {
  if (!buf || !*buf || len < 0) return *this;
  int old = length();
  if ((int64_t)old + len + 1 > INT_MAX) return *this;
  // Copy stops at a NUL of buf; the zero fill keeps the text ending there.
  int copied = (int)strnlen(buf, (size_t)len);
  std::string aside;
  if (holds(buf)) {
    aside.assign(buf, copied);
    buf = aside.data();
  }
  grow(old + len + 1);
  std::memcpy(text_ + old, buf, copied);
  std::memset(text_ + old + copied, 0, (size_t)(len - copied) + 1);
  return *this;
}

String& String::append(const char* s) {
  if (!s || !*s) return *this;
  return append(s, (int)std::strlen(s));
}

String& String::trim(int side) {
  int len = length();
  if (len == 0) return *this;
  if (side == 0) {
    while (len > 0 && isBlank(text_[len - 1])) --len;
    text_[len] = '\0';
    return *this;
  }
  int skip = 0;
  while (skip < len && isBlank(text_[skip])) ++skip;
  std::memmove(text_, text_ + skip, (size_t)(len - skip) + 1);
  return *this;
}

String& String::insert(int position, const char* text) {
  if (!text || !*text || position < 0) return *this;
  int added = (int)std::strlen(text);
  std::string aside;
  if (holds(text)) {
    aside.assign(text, added);
    text = aside.c_str();
  }
  int len = length();
  position = std::min(position, len);
  grow(len + added + 1);
  std::memmove(text_ + position + added, text_ + position, (size_t)(len - position) + 1);
  std::memcpy(text_ + position, text, added);
  return *this;
}

String& String::removeAll(const char* text) {
  if (!text_ || !text || !*text) return *this;
  std::string pattern(text);
  // Searching from the start again removes occurrences that a removal brings together.
  for (int at = find(pattern.c_str(), 0); at >= 0; at = find(pattern.c_str(), 0))
    erase(at, (int)pattern.size());
  return *this;
}

String& String::erase(int position, int count) {
  int len = length();
  if (position < 0 || position >= len || count < -1 || count == 0) return *this;
  if (count == -1 || count >= len - position) {
    text_[position] = '\0';
    return *this;
  }
  std::memmove(text_ + position, text_ + position + count, (size_t)(len - position - count) + 1);
  return *this;
}

String& String::replaceChar(char from, char to) {
  if (!text_ || from == to) return *this;
  for (char* p = text_; *p; ++p)
    if (*p == from) *p = to;
  return *this;
}

String& String::replaceAll(const char* from, const char* to) {
  if (!text_ || !from || !*from || !to || !*to) return *this;
  std::string pattern(from);
  std::string replacement(to);
  int at = find(pattern.c_str(), 0);
  while (at >= 0) {
    replaceAt(at, (int)pattern.size(), replacement.c_str());
    // Resume behind the replacement so it is never searched again.
    at = find(pattern.c_str(), at + (int)replacement.size());
  }
  return *this;
}

String& String::replaceAt(int position, int count, const char* text) {
  std::string aside;
  if (holds(text)) {
    aside.assign(text);
    text = aside.c_str();
  }
  erase(position, count);
  return insert(position, text);
}

String& String::collapse(char ch) {
  if (!text_ || ch == '\0') return *this;
  for (int i = 0; text_[i]; ++i) {
    if (text_[i] != ch) continue;
    int run = 1;
    while (text_[i + run] == ch) ++run;
    if (run > 1) erase(i + 1, run - 1);
  }
  return *this;
}

String String::mid(int position, int count) const {
  int len = length();
  if (position < 0 || !text_ || position >= len || count == 0 || count < -1) return String();
  if (count == -1) return String(text_ + position);
  String part;
  part.assign(text_ + position, std::min(count, len - position));
  return part;
}

String& String::assign(const String& other) {
  if (!other.text_) {
    empty();
    return *this;
  }
  return assign(other.text_, other.length());
}

String& String::append(const String& other) {
  int added = other.length();
  if (added == 0) return *this;
  std::string aside(other.text_, added);
  int len = length();
  grow(len + added + 1);
  std::memcpy(text_ + len, aside.data(), (size_t)added + 1);
  return *this;
}

String& String::unescape() {
  if (!text_) return *this;
  // Writing never overtakes reading: every escape produces at most as many bytes as it holds.
  char* out = text_;
  const char* in = text_;
  while (*in) {
    if (*in != '\\') {
      *out++ = *in++;
      continue;
    }
    char kind = in[1];
    int simple = simpleEscape(kind);
    if (simple >= 0) {
      *out++ = (char)simple;
      in += 2;
    } else if (kind == 'x' || kind == 'X') {
      in += 2;
      int value = 0;
      for (int digit = upperHexDigit(*in); digit >= 0; digit = upperHexDigit(*++in))
        value = (value * 16 + digit) % 256;
      if (value != 0) *out++ = (char)value;
    } else {
      // The backslash is dropped; the character behind it is read again as plain text.
      ++in;
    }
  }
  *out = '\0';
  return *this;
}

String& String::sortWords(char separator) {
  if (!text_) return *this;
  collapse(separator);
  std::string source(text_);
  std::vector<Word> words;
  const char* p = source.c_str();
  while (*p) {
    if (*p == separator) {
      ++p;
      continue;
    }
    const char* start = p;
    while (*p && *p != separator) ++p;
    words.push_back(Word{start, (int)(p - start)});
  }
  std::stable_sort(words.begin(), words.end(), wordBefore);
  empty();
  const char separatorText[2] = {separator, '\0'};
  for (const Word& word : words) {
    append(word.start, word.length);
    append(separatorText);
  }
  return *this;
}

const char* formatStatic(const char* fmt, ...) {
  static thread_local char buffer[kStaticFormatSize];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  buffer[kStaticFormatSize - 1] = '\0';
  return buffer;
}
