// The dialog that moves a client's add-in and in/out plug-ins between "Unused" and "Used",
// applying the changes to the client on "Apply".
#pragma once

#include "lib/TopWindow.h"

class Client;

class PlugsListDialog : public FixedWindow {
 public:
  explicit PlugsListDialog(const char* clientName);
  ~PlugsListDialog() override;

  // Adds the dialog to the root window (which creates it), builds the layout, keeps owner.
  void create(Client* owner);
  // Refills both lists from the plug-ins managers and the client, then shows the dialog.
  void show() override;

  // Private members follow (owned by the dialog's implementation).
};
