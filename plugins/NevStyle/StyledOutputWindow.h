// The conversation pane of a window that talks with one partner (a tell tab, a game): a rich
// edit with links and the styled print, a pop-up menu its owner fills and answers, and files
// dropped on it handed to the owner.
#pragma once

#include <string>
#include <vector>

#include "lib/Menu.h"
#include "lib/RichEdit.h"
#include "plugins/NevStyle/StyledOutput.h"

class OutputWindowOwner {
 public:
  // Just before the menu opens at the pointer: items may be enabled or disabled.
  virtual void onOutputMenu(Menu& menu) = 0;
  virtual void onOutputCommand(int id) = 0;
  // Full paths, in the order of the drop.
  virtual void onFilesDropped(const std::vector<std::string>& paths) = 0;

 protected:
  ~OutputWindowOwner() = default;
};

class StyledOutputWindow : public RichEdit {
 public:
  // The pane prints with the session's colour and font keys, in "Lucida Console" 8 at first.
  StyledOutputWindow(const char* name, PlugsSession* session);
  ~StyledOutputWindow() override;

  void create() override;
  bool onMessage(const MSG& message) override;
  bool onMouseButton(int buttons, int x, int y, bool down) override;
  bool onCommand(int id) override;

  void setOwner(OutputWindowOwner* owner) { menuOwner = owner; }
  Menu& getMenu() { return *menu; }
  StyledOutput& styled() { return style; }
  // While the pop-up menu runs its own loop, the pane must stay alive.
  bool isMenuOpen() const { return menuOpen; }

 private:
  void takeDrop(HDROP drop);

  StyledOutput style;
  Menu* menu;
  OutputWindowOwner* menuOwner = nullptr;
  bool menuOpen = false;
};
