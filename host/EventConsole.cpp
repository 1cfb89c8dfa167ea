// Report output of the event list and the events-file loader, and its adapter onto the
// system console.
#include "host/EventConsole.h"

#include <cstdarg>
#include <cstdio>

#include "host/Console.h"

void EventConsole::printColored(int red, int green, int blue, const char* fmt, ...) {
  char buffer[8192];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  setColor(red, green, blue);
  print(buffer);
}

void SystemEventConsole::setColor(int red, int green, int blue) {
  setSystemColorRgb(red, green, blue);
}

// The text is printed as it is: a '%' in a reported pattern is no format.
void SystemEventConsole::print(const char* text) { printSystem("%s", text ? text : ""); }

SystemEventConsole* SystemEventConsole::instance() {
  static SystemEventConsole console;
  return &console;
}
