// The system window's tab strip: page 0 is the "System" page, the others are plug-in tabs.
// The first plug-in tab comes to the front; a selected page loses its highlight.
#pragma once

#include "lib/Tabs.h"

class SystemWindow;

class SystemTabs : public Tabs {
 public:
  // owner tells whether the system window is in the foreground (focus moves only then).
  SystemTabs(SystemWindow* owner, int tabStyle);

  void setFocus() override;
  void addPage(Window* window, const char* title) override;
  // Highlighting the selected page is ignored.
  void highlight(int index, bool on) override;
  bool onSelect(int index) override;

 private:
  bool inForeground();

  SystemWindow* owner;
};
