// The elements of a RegExpr piece (atoms, classes, back-references) as the matcher reads
// them from the pattern text, and matching one of them at a text position.
#pragma once

#include "lib/RegExpr.h"
#include "lib/RegExprLexer.h"

namespace regexpr {

enum ElementKind { kAtom = 0, kClass = 1, kBackReference = 2 };

enum AtomKind {
  kAny,
  kLineEnd,
  kBlank,
  kNonBlank,
  kDigit,
  kNonDigit,
  kWord,
  kNonWord,
  kEnd,
  kLiteral,
};

struct Element {
  int kind;
  int value;  // literal byte, 1 for "[" / 0 for "[^", or the save number
  int atom;
  const char* spanStart;  // class contents, or the name of a named back-reference
  const char* spanEnd;
  RegExprRepeat repeat;
};

// Reads the element at p (inside a piece ending at pieceEnd) with its repetition suffix.
// Returns 0 at the end of the piece, 1 with the element, or an error code (10-16 range)
// as a negative number.
int lexElement(const char* p, const char* pieceEnd, Element& out);

// Matches the element once at text. Returns 1 with *next set, 0 on failure, or minus the
// error code.
int matchElement(const RegExpr& re, const Element& element, const char* text, const char** next);

}  // namespace regexpr
