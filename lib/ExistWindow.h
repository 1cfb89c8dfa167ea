// Wraps a platform window made elsewhere (a dialog, a control built by other code) so the
// toolkit sees its messages; the window gets its own procedure back when the wrapper goes.
#pragma once

#include "lib/WindowContainer.h"

class ExistWindow : public WindowContainer {
 public:
  explicit ExistWindow(HWND existing);
  ~ExistWindow() override;

  const char* typeName() const override;

 private:
  WNDPROC existingProc;
};
