// A recursive lock over one Win32 critical section, for state shared between threads.
// Derived classes may override enter/leave; the section lives as long as the object.
#pragma once

#include "platform/win32.h"

class CriticalSection {
 public:
  CriticalSection();
  virtual ~CriticalSection();
  virtual void enter();
  virtual void leave();

  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

 private:
  CRITICAL_SECTION section;
};
