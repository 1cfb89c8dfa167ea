// The guard for calls into plug-ins: a C++ exception or a fault on the calling thread
// (SIGSEGV, SIGBUS, SIGFPE, SIGILL) becomes a failed call instead of ending the program.
#pragma once

#include <type_traits>

#include "platform/win32_base.h"

// Runs fn(context). Returns false when it threw or faulted; guards nest, and a fault returns to
// the innermost one. Recovery from a fault is best effort: destructors of the frames it skips
// do not run, so the caller should stop using the module that faulted.
VORNAPI bool guardedCall(void (*fn)(void*), void* context);

// The same for any callable, e.g. guardedCall([&] { result = session->onEvent(...); }).
template <typename Callable>
bool guardedCall(Callable&& callable) {
  using Target = std::remove_reference_t<Callable>;
  return guardedCall([](void* context) { (*static_cast<Target*>(context))(); },
                     const_cast<void*>(static_cast<const void*>(&callable)));
}
