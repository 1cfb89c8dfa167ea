#include "host/ProgramIcon.h"

// Written by the build from host/resources/vornith.png.
extern const unsigned char programIconBytes[];
extern const int programIconSize;

bool registerProgramIcon(HMODULE module) {
  return VornRegisterResourceIcon(module, kProgramIconId, programIconBytes, programIconSize) !=
         FALSE;
}
