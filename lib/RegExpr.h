// RegExpr: the client's own pattern language ("/" escapes, {} alternatives, () saves,
// % back-references, @ counted repetitions), compiled to a node graph and matched lazily.
#pragma once

struct RegExprOp;
struct RegExprProgram;

// A saved span of the matched text; both null until a match sets it.
struct RegExprSave {
  const char* start = nullptr;
  const char* end = nullptr;
};

// A save named in the pattern with "):(name)"; the name points into the pattern text.
struct RegExprNamedSave : RegExprSave {
  const char* nameStart = nullptr;
  const char* nameEnd = nullptr;
};

// One piece of pattern text between structure characters. A node that heads a group
// also carries the group's repetition and save.
struct RegExprNode {
  const char* pieceStart = nullptr;
  const char* pieceEnd = nullptr;  // exclusive
  RegExprSave* save = nullptr;     // set on the head of a save group
  int counter = 0;                 // repetitions of this group under way while matching
  int notFlag = 0;                 // 1: the counts min..max are the excluded ones
  int min = 1;
  int max = 1;                          // -1: unbounded
  RegExprNode* continuation = nullptr;  // first node after the group this node heads
  RegExprNode* child = nullptr;         // group opening at the end of this node's piece
  RegExprNode* nextAlternative = nullptr;
  RegExprNode* levelHead = nullptr;   // head of the group this node's alternative belongs to
  const char* repeatStart = nullptr;  // where the group's current repetition began
  const RegExprOp* ops = nullptr;     // the piece compiled, ending with its end or its fault
};

// A compiled pattern. It points into the pattern text, which must outlive it unchanged.
struct RegExpr {
  int nodeCount = 0;
  int nextNode = 0;
  int anchored = 0;
  int endsWithDollar = 0;
  RegExprNode* nodes = nullptr;
  int saveCount = 0;
  int namedSaveCount = 0;
  int nextSave = 0;
  int nextNamedSave = 0;
  RegExprSave* saves = nullptr;
  RegExprNamedSave* namedSaves = nullptr;
  int error = 0;
  RegExprProgram* program = nullptr;  // owns what the nodes' operations point to
  int sharesProgram = 0;              // 1: program belongs to the RegExpr this one copies
};

// Returns 1 when compiled (an error found while building the graph is still recorded in
// the error field), 2 when the pattern was refused (the error field holds the code).
int compileRegExpr(RegExpr& regExpr, const char* pattern);

// Returns 0 no match, 1 match, 2 error (the error field holds the code).
int matchRegExpr(RegExpr& regExpr, const char* text);

// The save with that number (unnamed saves counted from 0), or null when it is absent,
// out of range or empty.
const RegExprSave* findRegExprSave(const RegExpr& regExpr, int number);

// The first named save whose name is [nameStart, nameEnd), or null when it is unknown,
// absent or empty.
const RegExprSave* findRegExprSave(const RegExpr& regExpr, const char* nameStart,
                                   const char* nameEnd);

const char* getRegExprError(const RegExpr& regExpr);

// Makes copy a pattern of its own for matching (its nodes and saves, so matches leave source
// untouched) that shares source's compiled operations: no compiling again. Source and its
// pattern text must outlive copy. False when memory ran out (copy is then empty).
bool copyRegExpr(RegExpr& copy, const RegExpr& source);

void freeRegExpr(RegExpr& regExpr);
