// The entry points of a settings-form library, shared by the binder and the stand-in library:
// found by name, each value one machine word (flags and numbers in its low 16 bits, texts as
// pointers).
#pragma once

#include <cstdint>

using FormWord = uintptr_t;
using FormCreateProc = FormWord (*)(FormWord parent);
using FormGetProc = FormWord (*)();
using FormSetProc = void (*)(FormWord value);
using FormElementProc = FormWord (*)(FormWord index);
using FormActionProc = void (*)();
