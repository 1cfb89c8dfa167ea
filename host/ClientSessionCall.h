// How a client calls into one of its plug-ins: under the managers' guard, so a fault is reported
// (and the plug-in unloaded when asked) instead of ending the program.
#pragma once

#include "host/Client.h"
#include "host/SessionCall.h"

template <typename Visit>
void Client::forEachRecord(Visit&& visit) {
  if (mainRecord.plug != nullptr && visit(&mainRecord)) return;
  // Unloading never frees a record, so the nodes stay valid across the plug-in calls.
  for (List<SessionRecord*>* list : {&addins, &inOuts})
    for (ListNode<SessionRecord*>* node = list->headNode(); node != nullptr; node = node->next)
      if (visit(node->value)) return;
}

// A plug-in whose module is mapped and whose factory can be asked.
inline bool plugUsable(const PlugRecord* plug) {
  return plug != nullptr && plug->isLoaded() && plug->factory != nullptr;
}

// Setup tree items travel as the ints the client and the session nodes keep.
inline int pageIdOf(HTREEITEM item) { return static_cast<int>(reinterpret_cast<intptr_t>(item)); }
inline HTREEITEM pageItemOf(int page) {
  return reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(page));
}
