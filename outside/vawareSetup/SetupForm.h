// The stand-in settings form's windows: a page of check boxes and edits made in a foreign
// parent, each form with values of its own. The entry points carry no form, so they speak to
// the form that create gave last; asking again for the form of a page gives that page's form
// back, which is how a caller with several pages picks the one it means. Forms die with their
// parent; the library destroys those left when it is unloaded.
#pragma once

#include "outside/vawareSetup/SetupFormModel.h"
#include "platform/win32.h"

class SetupForm {
 public:
  // The form of parent: the one it holds already, else a new one showing the defaults.
  static HWND create(HWND parent);
  // The values the entry points speak to: those of the form create gave last, or values of
  // no form when that form is gone.
  static SetupFormModel& current();
  // Shows the current values in their form again.
  static void refreshCurrent();
  static void destroyAll();
  static int liveCount();
};
