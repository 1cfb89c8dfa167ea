// A window whose platform window is made by a callback (a setup page built by other code);
// the toolkit only places it, and hands the platform window back on request.
#pragma once

#include "lib/WindowContainer.h"

class UserWindow : public WindowContainer {
 public:
  // Makes the platform window: (module instance, parent's platform window) -> window.
  typedef HWND (*CreateCallback)(HINSTANCE instance, HWND parent);

  explicit UserWindow(const char* name);

  const char* typeName() const override;
  void create() override;
  // The made window keeps its own message handling: the wrapper steps out of the registry
  // on the first message it sees and lets it through.
  bool onMessage(const MSG& message) override;
  void setClient(Window* window) override;
  virtual void setCreateCallback(CreateCallback callback);
  // Gives the platform window back (unregistered, with its own procedure) and returns it.
  virtual HWND releaseWindow();

 private:
  CreateCallback createCallback = nullptr;
};
