// The matcher the engine had before it ran compiled pieces, kept as the reference that the
// differential test compares the engine with.
#pragma once

#include "lib/RegExpr.h"

namespace oracle {

// Same contract as matchRegExpr, over the same compiled record.
int matchRegExprOracle(RegExpr& regExpr, const char* text);

}  // namespace oracle
