// The system console: coloured text printed by the host and by plug-ins into the system
// window's output pane, the host's version, and the box that reports a plug-in's fault.
#pragma once

#include <cstdarg>

#include "lib/String.h"
#include "platform/win32.h"

class RichEdit;

// Where console text goes: the system window hands over its output pane when it has made it,
// and null before it destroys it. Text printed while there is none is dropped. The current
// colour is kept across panes.
void setConsole(RichEdit* pane);
RichEdit* getConsole();

// printf-style; at most 8191 characters of the result are appended, in the current colour.
// GUI thread only: the text goes through one static buffer.
void printSystem(const char* fmt, ...) VORN_PRINTF(1, 2);
void vprintSystem(const char* fmt, va_list args);
// The colour of the text appended from now on.
void setSystemColor(COLORREF colour);
void setSystemColorRgb(int r, int g, int b);

float getHostVersion();

// The failing plug-in, as the fault report sees it: the plug-in record implements it by asking
// the plug-in's factory. Either call runs plug-in code and may fault; the report guards each.
class FaultyPlug {
 public:
  virtual const char* plugName() = 0;
  virtual const char* plugAuthor() = 0;

 protected:
  ~FaultyPlug() = default;
};

// Who removes a plug-in after its fault is reported: the plug-ins managers, which first drop
// every session of it in every owner.
class PlugUnloader {
 public:
  virtual bool unloadPlug(FaultyPlug* plug) = 0;

 protected:
  ~PlugUnloader() = default;
};

// Shows the critical-error box naming the plug-in, the operation that failed (method) and the
// plug-in's author, and blocks until it is closed; then, when unload is set and unloader is not
// null, has the plug-in unloaded. A name or author that faults or is null reads "(unknown)".
void reportPluginCriticalError(FaultyPlug* plug, const char* method, bool unload,
                               PlugUnloader* unloader);
