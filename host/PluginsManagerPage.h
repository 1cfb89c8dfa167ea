// One page of the "Plugins Manager..." window: the plug-ins of one kind with a check box each
// (checked = loaded), the selected one's version, author and description, "Apply" and "Help".
#pragma once

#include "host/ButtonListener.h"
#include "host/NotifyButton.h"
#include "host/PlugRecord.h"
#include "host/PlugsListener.h"
#include "host/PlugsManagers.h"
#include "host/SetupLayout.h"
#include "lib/CheckList.h"
#include "lib/ExistWindow.h"
#include "lib/Frame.h"
#include "lib/RichEdit.h"

class PluginsManagerPage;

// The page's check list; a new selection shows the selected plug-in's information.
class PlugsList : public CheckList {
 public:
  PlugsList(const char* name, PluginsManagerPage* listener);
  bool onSelect(HTREEITEM item, LPARAM data) override;

 private:
  PluginsManagerPage* listener;
};

class PluginsManagerPage : public ButtonListener {
 public:
  explicit PluginsManagerPage(const char* title);
  virtual ~PluginsManagerPage();
  PluginsManagerPage(const PluginsManagerPage&) = delete;
  PluginsManagerPage& operator=(const PluginsManagerPage&) = delete;

  const char* getTitle() { return frame.getName(); }
  // 1 "Apply (load/unload)", 2 "Help".
  void onButton(int id) override;
  // Builds the page inside the setup page window parent.
  virtual void create(HWND parent);
  // Deletes the page window (and the setup page it wraps).
  virtual void destroy();
  // Who loads and unloads: the plug-ins managers.
  virtual void setOwner(PlugsListener* owner);
  virtual void setPlugList(PlugList* list);
  // Lists every record of the kind not listed yet.
  virtual void addNewItems();
  // Every listed record's box shows whether it is loaded.
  virtual void syncChecks();
  virtual void clearItems();
  virtual void showPlugInfo(PlugRecord* record);
  // Loads the checked plug-ins that are not loaded and unloads the unchecked loaded ones; a
  // refused change puts the box back.
  virtual void apply();
  virtual void showHelp();

 protected:
  // Runs call (plug-in code of record) under the guard; a fault is reported naming method
  // and, when unload is set, the plug-in is unloaded. False when it faulted.
  template <typename Call>
  bool callPlug(PlugRecord* record, const char* method, bool unload, Call&& call);
  void showNotLoaded();
  static HTREEITEM itemOf(const PlugRecord& record);

  PlugsListener* owner = nullptr;
  PlugsList plugsList;
  PlugList* plugList = nullptr;
  ExistWindow* pageWindow = nullptr;
  Frame frame;
  SetupLine column;
  SetupLine infoLine;
  SetupLine buttonLine;
  RichEdit version;
  RichEdit author;
  RichEdit description;
  NotifyButton helpButton;
  NotifyButton applyButton;
};
