// A quick test, worked out once from a compiled RegExpr, that rules out texts the pattern
// cannot match, so that the full search runs only where a match is possible.
#pragma once

#include <cstddef>

#include "lib/RegExpr.h"

// Only ever answers "cannot match" when the full search would find no match and report no
// error; a pattern whose search could report an error is never filtered.
class RegExprPrefilter {
 public:
  // Longest literal run kept; a longer run is still required, only its start is checked.
  static constexpr int kMaxLiteral = 32;

  // Derives the checks from a compiled pattern (the pattern text must still be alive).
  void build(const RegExpr& regExpr);
  // False only when regExpr cannot match text, length its strlen.
  bool mayMatch(const char* text, size_t length) const;

  bool active() const { return active_; }
  int literalLength() const { return literalLength_; }
  const char* literal() const { return literal_; }
  bool hasFirstBytes() const { return hasFirstBytes_; }

 private:
  bool firstByteAllowed(unsigned char c) const { return firstBytes_[c >> 3] & (1u << (c & 7)); }
  bool lineStartAllowed(const char* text, size_t length) const;
  bool containsLiteral(const char* text, size_t length) const;

  bool active_ = false;
  bool anchored_ = false;
  bool hasFirstBytes_ = false;  // only for anchored patterns
  unsigned char firstBytes_[32] = {};
  int literalLength_ = 0;  // a byte run every match contains
  char literal_[kMaxLiteral] = {};
  int pivot_ = 0;  // the literal's byte searched for first
};
