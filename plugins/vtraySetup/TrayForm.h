// The tray's settings form: three option check boxes in a frame, the display-only hot-key list
// and the flat skin, made as a child of a foreign window at its top-left corner.
#pragma once

#include "plugins/vtraySetup/rt/Bevel.h"
#include "plugins/vtraySetup/rt/CheckBox.h"
#include "plugins/vtraySetup/rt/Form.h"
#include "plugins/vtraySetup/rt/ListView.h"
#include "plugins/vtraySetup/skin/FlatSkin.h"

class TrayForm : public frt::Form {
 public:
  static const int kWidth = 775;
  static const int kHeight = 405;

  // The form shown inside parent, or null when parent is no window or the layer refuses.
  static TrayForm* create(HWND parent);

  frt::Bevel* bevel1 = nullptr;
  frt::CheckBox* checkBox1 = nullptr;  // hide when minimized
  frt::CheckBox* checkBox2 = nullptr;  // simple click to untray
  frt::CheckBox* checkBox3 = nullptr;  // chat meter
  frt::ListView* listView1 = nullptr;
  skin::FlatSkin* flatSkin1 = nullptr;

 private:
  TrayForm();
  frt::CheckBox* addCheckBox(const char* name, const char* caption, int top, bool checked);
};
