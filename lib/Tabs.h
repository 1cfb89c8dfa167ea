// A tab strip whose pages are its child windows: page i is tab i of the platform tab control.
// Only the selected page is shown; the others are hidden with hideKeep, so they keep their state.
#pragma once

#include "lib/Container.h"

#include <vector>

class Tabs : public Container {
 public:
  // Tab styles: where the tabs sit and how they look.
  enum { TabsBottom = 0, TabsTop = 1, Buttons = 2, FlatButtons = 3 };
  // Longest title passed to the control; longer ones are cut.
  enum { MaxTitle = 255 };

  Tabs(const char* name, int tabStyle);

  const char* typeName() const override;
  bool onMessage(const MSG& message) override;
  bool onSize(int type, int w, int h) override;
  void create() override;
  void onChildRemoved(Window* child) override;
  // A key reaching the strip itself (it took the focus on a click) goes on to the page the
  // user sees, never to a hidden first page.
  bool onChar(int code) override;
  bool onKey(int key, bool down) override;

  // Added operations, in the order of the virtual table.
  // Creates the window as a new last page titled `title` (its name when null).
  virtual void addPage(Window* window, const char* title);
  virtual void setTabStyle(int style);
  virtual int getTabStyle();
  virtual int getPageCount();
  // The selected page's index, -1 when there is none.
  virtual int getSelected();
  virtual int indexOfPage(Window* window);
  // Selects a page without notifications from the control; calls onSelect when it changed.
  virtual void select(int index);
  virtual void highlight(int index, bool on);
  // Destroys the page at index; a bad index does nothing.
  virtual void closePage(int index);
  virtual void setPageTitle(int index, const char* text);
  virtual bool getPageTitle(int index, char* buffer, int size);
  // A right click on a tab; true reports it handled.
  virtual bool onTabRightClick(int index, int x, int y);
  // The user or select switched to the page at index.
  virtual bool onSelect(int index);

 protected:
  int tabStyle;
  int pageCount;
  int selected;

 private:
  static LONG styleBits(int style);
  // Lays every page into the display area of the control rectangle `area`.
  void layPages(RECT area);
  void layPage(Window* page, RECT area);
  bool onTabNotify(const NMHDR& header);
  bool onRightClick();
  Window* pageAt(int index);
  bool passToShownPage(UINT message, WPARAM code, LPARAM lParam);

  // The pages in tab order, so a removed page's tab is found even though the page has
  // already left the child list when the removal is reported.
  std::vector<Window*> pages;
};
