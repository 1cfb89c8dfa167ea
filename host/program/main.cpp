// The program's entry on this system: the host's own entry with this module's instance.
#include "host/Host.h"

int main() {
  char noArguments[] = "";
  return WinMain(GetModuleHandleA(nullptr), nullptr, noArguments, SW_SHOW);
}
