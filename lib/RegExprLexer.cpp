// Decimal numbers and repetition suffixes of the RegExpr language.
#include "lib/RegExprLexer.h"

#include <climits>

namespace regexpr {

int readNumber(const char*& p) {
  long long value = 0;
  while (isDigit(*p)) {
    if (value < INT_MAX) value = value * 10 + (*p - '0');
    ++p;
  }
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

namespace {

int saturatedIncrement(int n) { return n == INT_MAX ? n : n + 1; }

// "@in1,n2" and "@en1,n2" (p after the letter).
int parseInterval(const char* p, bool exclusive, int notFlag, RegExprRepeat& out) {
  if (!isDigit(*p)) return kRepeatNoInteger;
  int low = readNumber(p);
  if (*p != ',') return kRepeatNoComma;
  ++p;
  if (!isDigit(*p)) return kRepeatNoInteger;
  int high = readNumber(p);
  if (low > high) return kRepeatMinAboveMax;
  out = {p, notFlag, low, high};
  if (exclusive) {
    out.min = saturatedIncrement(low);
    // "@e0,0" allows nothing: keep max below min rather than letting 0 - 1 read as
    // unbounded. Under the not-flag -1 simply excludes nothing.
    out.max = high - 1;
    if (!notFlag && out.max < 0) out.max = 0;
  }
  return kNoError;
}

// What follows "@" or "@!".
int parseCounted(const char* p, int notFlag, RegExprRepeat& out) {
  char c = *p;
  if (isDigit(c)) {
    int n = readNumber(p);
    out = {p, notFlag, n, n};
    return kNoError;
  }
  if (c == 'i' || c == 'e') return parseInterval(p + 1, c == 'e', notFlag, out);
  if (c != '+' && c != '-') return kRepeatBadCharacter;
  ++p;
  if (!isDigit(*p)) return kRepeatNoInteger;
  int n = readNumber(p);
  if (c == '+') {
    // "@+n" is 0..n; "@!+n" is n+1 or more.
    out = notFlag ? RegExprRepeat{p, 0, saturatedIncrement(n), -1} : RegExprRepeat{p, 0, 0, n};
  } else if (!notFlag) {
    out = {p, 0, n, -1};
  } else {
    // "@!-n" is 0..n-1; for n = 0 nothing remains (min above max).
    out = n == 0 ? RegExprRepeat{p, 0, 1, 0} : RegExprRepeat{p, 0, 0, n - 1};
  }
  return kNoError;
}

}  // namespace

int parseRepeat(const char* p, RegExprRepeat& out) {
  switch (*p) {
    case '*':
      out = {p + 1, 0, 0, -1};
      return kNoError;
    case '+':
      out = {p + 1, 0, 1, -1};
      return kNoError;
    case '?':
      out = {p + 1, 0, 0, 1};
      return kNoError;
    case '@':
      if (p[1] == '!') return parseCounted(p + 2, 1, out);
      return parseCounted(p + 1, 0, out);
    default:
      out = {p, 0, 1, 1};
      return kNoError;
  }
}

}  // namespace regexpr
