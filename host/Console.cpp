#include "host/Console.h"

#include <cstdio>

#include "lib/RichEdit.h"
#include "platform/win32_guard.h"

namespace {

RichEdit* console = nullptr;
COLORREF consoleColour = RGB(0, 0, 0);

const char* const unknownText = "(unknown)";
const char* const errorRule =
    "-------------------------------------------------------------------------------";

// Calls into plug-in code: whatever it throws, and any fault it makes, reads as "(unknown)".
const char* guardedText(FaultyPlug* plug, const char* (FaultyPlug::*getter)()) {
  const char* text = nullptr;
  if (!plug || !guardedCall([&] { text = (plug->*getter)(); })) return unknownText;
  return text ? text : unknownText;
}

}  // namespace

void setConsole(RichEdit* pane) {
  console = pane;
  if (console) console->setTextColour(consoleColour);
}

RichEdit* getConsole() { return console; }

void printSystem(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vprintSystem(fmt, args);
  va_end(args);
}

void vprintSystem(const char* fmt, va_list args) {
  static char buffer[8192];
  if (!fmt) return;
  if (vsnprintf(buffer, sizeof buffer, fmt, args) < 0) return;
  if (console) console->appendText(buffer);
}

void setSystemColor(COLORREF colour) {
  consoleColour = colour;
  if (console) console->setTextColour(colour);
}

void setSystemColorRgb(int r, int g, int b) { setSystemColor(RGB(r, g, b)); }

float getHostVersion() { return 2.0f; }

void reportPluginCriticalError(FaultyPlug* plug, const char* method, bool unload,
                               PlugUnloader* unloader) {
  const char* name = guardedText(plug, &FaultyPlug::plugName);
  const char* author = guardedText(plug, &FaultyPlug::plugAuthor);
  const char* text = formatStatic(
      "VORNITH' PLUGIN CRITICAL ERROR\n%s\n\nA critical error has been dected in the plugin "
      "'%s'.\nCalling the method : '%s'\nRefer this error to %s\n%s\n%s\n",
      errorRule, name, method ? method : "", author,
      unload ? "\nThis plug is going to be unloaded.\n" : "", errorRule);
  MessageBoxA(nullptr, text, "Plugin's Critical Error !!!", MB_ICONHAND | MB_OK);
  if (unload && unloader) unloader->unloadPlug(plug);
}
