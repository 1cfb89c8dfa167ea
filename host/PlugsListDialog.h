// The dialog that moves a client's add-in and in/out plug-ins between "Unused" and "Used",
// applying the changes to the client on "Apply".
#pragma once

#include "host/ButtonListener.h"
#include "host/NotifyButton.h"
#include "host/SetupLayout.h"
#include "lib/Frame.h"
#include "lib/Label.h"
#include "lib/List.h"
#include "lib/ListView.h"
#include "lib/TopWindow.h"

class Client;
class PlugRecord;

class PlugsListDialog : public FixedWindow, public ButtonListener {
 public:
  explicit PlugsListDialog(const char* clientName);
  ~PlugsListDialog() override;

  // Adds the dialog to the root window (which creates it), builds the layout, keeps owner.
  using FixedWindow::create;
  void create(Client* owner);
  // Refills both lists from the plug-ins managers and the client, then shows the dialog.
  void show() override;
  // ">": the selected unused plug-in goes to "Used" (cancelling a pending removal).
  virtual void moveToUsed();
  // "<": the mirror image.
  virtual void moveToUnused();
  // Removes the pending removals, then adds the pending additions; both stay pending until
  // the next show, so a second "Apply" repeats them.
  virtual void apply();
  // 0 "Close", 1 "Apply", 2 ">", 3 "<".
  void onButton(int id) override;
  // Hides the dialog; it is kept.
  bool onClose() override;

 protected:
  // What the dialog asks of its client.
  virtual bool isUsed(PlugRecord* record);
  virtual void addToClient(PlugRecord* record);
  virtual void removeFromClient(PlugRecord* record);
  static void move(ListView& from, ListView& to, List<PlugRecord*>& cancel,
                   List<PlugRecord*>& queue);
  void fillFrom(int kind);

  Client* owner = nullptr;
  SetupCompass mainContainer;
  Frame unusedFrame;
  SetupLine center;
  Frame usedFrame;
  SetupLine south;
  ListView used;
  ListView unused;
  NotifyButton closeButton;
  NotifyButton applyButton;
  NotifyButton toUsedButton;
  NotifyButton toUnusedButton;
  Label spacers[6];
  List<PlugRecord*> toAdd{5};
  List<PlugRecord*> toRemove{5};
};
