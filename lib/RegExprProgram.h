// The pieces of a compiled RegExpr lowered once into arrays of operations, so that matching
// walks them instead of reading the pattern text again at every step.
#pragma once

#include "lib/RegExpr.h"
#include "lib/RegExprElement.h"

namespace regexpr {

enum OpCode : unsigned char {
  kOpEnd,      // the piece is done
  kOpError,    // the pattern text is faulty here: matching this far reports error
  kOpRun,      // literal bytes, each exactly once
  kOpLiteral,  // one literal byte with its repetition
  kOpTable,    // a one-byte element (class, digit, word...) decided by the byte alone
  kOpElement,  // anything else (line end, blank tests, end, back-references)
};

// What a table says of a byte: the element takes it, does not, or needs the element itself
// (a byte that decides nothing alone, such as CR before a possible LF, or a class fault).
enum TableAnswer : unsigned char { kMiss = 0, kTake = 1, kAsk = 2 };

// The bytes on which an operation fails at once, in one step and with nothing else done:
// all but gateByte, the table's misses, all but the end, and so on.
enum GateKind : unsigned char {
  kGateNone,
  kGateByte,
  kGateTable,
  kGateEnd,
  kGateLineEnd,
  kGateBlank,
  kGateNonBlank,
};

}  // namespace regexpr

struct RegExprOp {
  regexpr::OpCode code;
  regexpr::GateKind gate;
  unsigned char byte;          // kOpLiteral, and the first byte of a run
  int length;                  // kOpRun: its bytes; kOpError: the error code
  const char* run;             // kOpRun
  const unsigned char* table;  // kOpTable: a TableAnswer for each byte
  regexpr::Element element;    // the element and its repetition (exactly once for a run)
};

// Everything the operations point to, owned by the RegExpr.
struct RegExprProgram {
  RegExprOp* ops = nullptr;
  char* runs = nullptr;
  unsigned char* tables = nullptr;
};

namespace regexpr {

// Lowers every node's piece; false when memory ran out (nothing is then kept).
bool buildProgram(RegExpr& regExpr);
void freeProgram(RegExpr& regExpr);

}  // namespace regexpr
