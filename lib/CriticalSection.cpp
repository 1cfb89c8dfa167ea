// Each operation is the matching Win32 call on the object's own section.
#include "lib/CriticalSection.h"

CriticalSection::CriticalSection() { InitializeCriticalSection(&section); }

CriticalSection::~CriticalSection() { DeleteCriticalSection(&section); }

void CriticalSection::enter() { EnterCriticalSection(&section); }

void CriticalSection::leave() { LeaveCriticalSection(&section); }
