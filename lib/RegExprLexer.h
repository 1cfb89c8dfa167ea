// Lexing shared by the RegExpr compiler and matcher: character classes of the pattern
// language, decimal numbers and repetition suffixes.
#pragma once

namespace regexpr {

// Error codes of the message table.
enum RegExprErrorCode {
  kNoError = 0,
  kNoMemory = 1,
  kStructureInSave = 2,
  kEmptyExpression = 3,
  kUnbalancedBrace = 4,
  kUnbalancedParen = 5,
  kNameNeedsParen = 6,
  kBadName = 7,
  kUnclosedBrace = 8,
  kUnclosedSave = 9,
  kUnclosedName = 10,
  kRepeatNoInteger = 11,
  kRepeatNoComma = 12,
  kRepeatBadCharacter = 13,
  kRepeatMinAboveMax = 14,
  kTrailingEscape = 15,
  kUnclosedClass = 16,
  kBadDash = 17,
  kErrorCount = 18,
};

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isNameStart(char c) { return isLetter(c) || c == '_'; }
inline bool isNameChar(char c) { return isNameStart(c) || isDigit(c); }
inline bool isStructure(char c) { return c == '{' || c == '|' || c == '}' || c == '(' || c == ')'; }

// A repetition: counts min..max (max -1 unbounded), or every count but those with notFlag.
// A plain range with min > max allows no count at all.
struct RegExprRepeat {
  const char* cursor;  // pattern position after the suffix
  int notFlag;
  int min;
  int max;
};

inline bool isExactRepeat(const RegExprRepeat& r) { return !r.notFlag && r.min == r.max; }

// Reads the decimal digits at p, moving p past them; the value stops at INT_MAX so a huge
// count can never wrap round to a negative (unbounded) one.
int readNumber(const char*& p);

// Parses the repetition suffix at p. Returns 0 (out filled; no suffix gives exactly once)
// or the error code 11-14.
int parseRepeat(const char* p, RegExprRepeat& out);

}  // namespace regexpr
