// The root of every plug-in session: the client it belongs to, the hooks the host calls, and
// wrappers over the host's services table that give neutral results when a service is absent.
#pragma once

#include "platform/win32.h"

// The host calls sessions only through their virtual tables, so the order of the virtual
// operations below is part of the binary contract and must never change.
class PlugsObject {
 public:
  explicit PlugsObject(const char* clientName);
  virtual ~PlugsObject();

  // Read by the host as well: the client name is the first data member of every session.
  const char* getClientName() const { return clientName; }

  // Hooks (defaults do nothing).
  virtual void init();
  virtual void term();
  virtual bool hasSetupWindow();
  virtual void createSetupWindow(HWND parent);
  virtual void writeSetup();
  virtual void reloadSetup();
  virtual void onSetupOpen();
  virtual void onSetupClose();
  virtual int getBackupSizeNeeded();
  virtual void backup(void* buffer, int size);
  virtual void restore(void* buffer, int size);
  virtual void onUserEvent(const char* fromPlug, const char* type, void* data);
  virtual int onRequest(const char* fromPlug, char* answer, int answerSize, const char* request,
                        void* argument);

  // Host services.
  virtual float getHostVersion();
  virtual HWND getSystemWindow();
  virtual HINSTANCE getInstance();
  virtual bool checkKeyPressed(int key);
  virtual void setSystemColor(int r, int g, int b);
  virtual void printSystem(const char* format, ...) __attribute__((format(printf, 2, 3)));
  virtual HWND addSystemTab(const char* title);
  virtual void removeSystemTab(HWND tab);
  virtual void highlightSystemTab(HWND tab, bool on);
  virtual void selectSystemTab(HWND tab);
  virtual bool isSystemTabSelected(HWND tab);
  virtual void setSystemTabText(HWND tab, const char* text);
  virtual const char* getPlugAuthor(const char* plugName);
  virtual float getPlugVersion(const char* plugName);
  virtual void sendEvent(const char* toPlug, const char* type, void* data);
  virtual int sendRequest(const char* toPlug, char* answer, int answerSize, const char* request,
                          void* argument);
  virtual void updatePlug(const char* fileName);

 private:
  char* clientName;

  PlugsObject(const PlugsObject&) = delete;
  PlugsObject& operator=(const PlugsObject&) = delete;
};
