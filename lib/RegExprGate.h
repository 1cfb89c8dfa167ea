// The shortcuts of the lazy loops: on which bytes an operation fails at once, and running
// the rounds of a loop whose rest fails on the next byte without calling the search.
#pragma once

#include "lib/RegExprProgram.h"

namespace regexpr {

// The steps an operation takes to fail on its first byte c, or 0 when it might not fail
// there (or would do more than fail: an error, a group, a save).
inline int firstByteFailCost(const RegExprOp& op, unsigned char c) {
  bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
  switch (op.gate) {
    case kGateByte:
      return c != op.byte ? 1 : 0;
    case kGateTable:
      return op.table[c] == kMiss ? 1 : 0;
    case kGateEnd:
      return c != 0 ? 1 : 0;
    case kGateLineEnd:
      return c != '\n' && c != '\r' ? 1 : 0;
    case kGateBlank:
      return c != 0 && !blank ? 1 : 0;
    case kGateNonBlank:
      return c == 0 || blank ? 1 : 0;
    default:
      return 0;
  }
}

// Moves at over the bytes that the element takes while the gate fails on them, at most limit.
template <class Takes, class Fails>
inline const char* forward(const char* at, long long limit, Takes takes, Fails fails) {
  for (; limit > 0; ++at, --limit) {
    unsigned char c = static_cast<unsigned char>(*at);
    if (!fails(c) || !takes(c)) break;
  }
  return at;
}

template <class Takes>
inline const char* forwardUntilGate(const RegExprOp& gate, const char* at, long long limit,
                                    Takes takes) {
  unsigned char b = gate.byte;
  const unsigned char* table = gate.table;
  switch (gate.gate) {
    case kGateByte:
      return forward(at, limit, takes, [b](unsigned char c) { return c != b; });
    case kGateTable:
      return forward(at, limit, takes, [table](unsigned char c) { return table[c] == kMiss; });
    case kGateEnd:
      return forward(at, limit, takes, [](unsigned char c) { return c != 0; });
    default:
      return at;
  }
}

// The rounds of a lazy loop in which the rest fails on the byte and the element takes that
// one byte, run without calls: where the loop has to look closer, at stops.
inline const char* forwardRounds(const RegExprOp& op, const RegExprOp& gate, const char* at,
                                 long long limit) {
  if (op.code == kOpTable) {
    const unsigned char* table = op.table;
    return forwardUntilGate(gate, at, limit,
                            [table](unsigned char c) { return table[c] == kTake; });
  }
  if (op.code == kOpLiteral) {
    unsigned char b = op.byte;
    return forwardUntilGate(gate, at, limit, [b](unsigned char c) { return c == b; });
  }
  return at;
}

}  // namespace regexpr
