// Reading and matching single RegExpr elements: atoms, character classes and
// back-references.
#include "lib/RegExprElement.h"

#include <cstring>

namespace regexpr {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isWordChar(char c) { return isLetter(c) || isDigit(c) || c == '_'; }

int escapedAtom(char c) {
  switch (c) {
    case 'B':
      return kNonBlank;
    case 'D':
      return kNonDigit;
    case 'W':
      return kNonWord;
    case 'b':
      return kBlank;
    case 'd':
      return kDigit;
    case 'n':
      return kLineEnd;
    case 'w':
      return kWord;
    default:
      return kLiteral;
  }
}

// Steps over the class contents (p after "[" or "[^") to its "]"; "/x" never closes it.
const char* findClassEnd(const char* p, const char* pieceEnd) {
  while (p < pieceEnd && *p != ']') p += (*p == '/' && p + 1 < pieceEnd) ? 2 : 1;
  return p < pieceEnd ? p : nullptr;
}

// The element itself (without its suffix); returns the position behind it or null with
// *error set.
const char* lexBody(const char* p, const char* pieceEnd, Element& out, int* error) {
  out = Element{kAtom, 0, kLiteral, nullptr, nullptr, {}};
  char c = *p;
  if (c == '$' && p[1] == '\0') {
    out.atom = kEnd;
    return p + 1;
  }
  if (c == '.') {
    out.atom = kAny;
    return p + 1;
  }
  if (c == '[') {
    out.kind = kClass;
    out.value = p[1] == '^' ? 0 : 1;
    out.spanStart = p + (out.value ? 1 : 2);
    out.spanEnd = findClassEnd(out.spanStart, pieceEnd);
    if (!out.spanEnd) *error = kUnclosedClass;
    return out.spanEnd ? out.spanEnd + 1 : nullptr;
  }
  if (c == '%') {
    out.kind = kBackReference;
    if (p[1] == '(') {
      out.spanStart = p + 2;
      const char* close = static_cast<const char*>(
          std::memchr(out.spanStart, ')', static_cast<size_t>(pieceEnd - out.spanStart)));
      if (!close) *error = kUnclosedName;
      out.spanEnd = close;
      return close ? close + 1 : nullptr;
    }
    ++p;
    out.value = readNumber(p);
    return p;
  }
  if (c == '/') {
    if (p[1] == '\0') {
      *error = kTrailingEscape;
      return nullptr;
    }
    out.atom = escapedAtom(p[1]);
    out.value = static_cast<unsigned char>(p[1]);
    return p + 2;
  }
  out.value = static_cast<unsigned char>(c);
  return p + 1;
}

// Line end at text: 0 none, else the number of bytes (LF, or CR LF).
int lineEndLength(const char* text) {
  if (text[0] == '\n') return 1;
  if (text[0] == '\r' && text[1] == '\n') return 2;
  return 0;
}

bool inRange(char low, char c, char high) {
  signed char s = static_cast<signed char>(c);
  return static_cast<signed char>(low) <= s && s <= static_cast<signed char>(high);
}

// Examines a class's contents until the first hit. Returns 1 hit (with *length the bytes
// that the hit covers), 0 no hit, or minus an error code.
int classHit(const char* q, const char* end, const char* text, int* length) {
  const char* start = q;
  char c = *text;
  *length = 1;
  while (q < end) {
    if (*q == '/') {
      if (q[1] == 'n') {
        int n = lineEndLength(text);
        if (n) {
          *length = n;
          return 1;
        }
      } else if (q[1] == c) {
        return 1;
      }
      q += 2;
      continue;
    }
    if (*q == '-') {
      if (q == start || (q + 1 < end && q[1] == '-')) return -kBadDash;
      if (q + 1 == end) return -kUnclosedClass;
    }
    if (q + 1 < end && q[1] == '-') {
      const char* y = q + 2;
      if (y == end) return -kUnclosedClass;
      if (*y == '-') return -kBadDash;
      char high = *y == '/' ? y[1] : *y;
      if (inRange(*q, c, high)) return 1;
      q = y + (*y == '/' ? 2 : 1);
      continue;
    }
    if (*q == c) return 1;
    ++q;
  }
  return 0;
}

int matchClass(const Element& e, const char* text, const char** next) {
  if (*text == '\0') return 0;
  int length = 0;
  int hit = classHit(e.spanStart, e.spanEnd, text, &length);
  if (hit < 0) return hit;
  if (e.value == 1) {
    if (!hit) return 0;
    *next = text + length;
    return 1;
  }
  if (hit) return 0;
  *next = text + 1;
  return 1;
}

int matchBackReference(const RegExpr& re, const Element& e, const char* text, const char** next) {
  const RegExprSave* save =
      e.spanStart ? findRegExprSave(re, e.spanStart, e.spanEnd) : findRegExprSave(re, e.value);
  *next = text;
  if (!save) return 1;
  for (const char* s = save->start; s < save->end; ++s, ++text)
    if (*text != *s) return 0;
  *next = text;
  return 1;
}

bool atomHolds(int atom, int value, const char* text, const char** next) {
  char c = *text;
  *next = text + 1;
  switch (atom) {
    case kAny:
      return c != '\0';
    case kLineEnd: {
      int n = lineEndLength(text);
      *next = text + n;
      return n > 0;
    }
    case kBlank:
      *next = text;
      return c == '\0' || isBlank(c);
    case kNonBlank:
      *next = text;
      return c != '\0' && !isBlank(c);
    case kDigit:
      return isDigit(c);
    case kNonDigit:
      return c != '\0' && !isDigit(c);
    case kWord:
      return isWordChar(c);
    case kNonWord:
      return c != '\0' && !isWordChar(c);
    case kEnd:
      *next = text;
      return c == '\0';
    default:
      return c != '\0' && static_cast<unsigned char>(c) == value;
  }
}

}  // namespace

int lexElement(const char* p, const char* pieceEnd, Element& out) {
  if (p >= pieceEnd || *p == '\0' || *p == '(' || *p == ')') return 0;
  int error = 0;
  const char* after = lexBody(p, pieceEnd, out, &error);
  if (!after) return -error;
  error = parseRepeat(after, out.repeat);
  return error ? -error : 1;
}

int matchElement(const RegExpr& re, const Element& element, const char* text, const char** next) {
  if (element.kind == kClass) return matchClass(element, text, next);
  if (element.kind == kBackReference) return matchBackReference(re, element, text, next);
  return atomHolds(element.atom, element.value, text, next) ? 1 : 0;
}

}  // namespace regexpr
