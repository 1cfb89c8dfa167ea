// The stand-in settings form's windows: a page of check boxes and edits made in a foreign
// parent, kept in step with the shared model both ways. Forms die with their parent; the
// library destroys those left when it is unloaded.
#pragma once

#include "platform/win32.h"

class SetupForm {
 public:
  static HWND create(HWND parent);
  // Shows the model again in every live form.
  static void refreshAll();
  static void destroyAll();
  static int liveCount();
};
