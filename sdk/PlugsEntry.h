// Reaching one entry of the host's services table from the SDK's wrappers: null when there is
// no table, when the table is too short to hold the entry, or when the entry is empty.
#pragma once

#include <cstddef>

#include "sdk/PlugsModule.h"
#include "sdk/SdkFunctions.h"

// The table, if it holds a whole entry ending at byte `end`.
inline SdkFunctions* plugsTableHolding(size_t end) {
  SdkFunctions* table = plugsHostTable();
  return (table != nullptr && table->size >= end) ? table : nullptr;
}

#define PLUGS_ENTRY(field)                                                                   \
  (plugsTableHolding(offsetof(SdkFunctions, field) + sizeof(SdkFunctions::field)) != nullptr \
       ? plugsHostTable()->field                                                             \
       : nullptr)
