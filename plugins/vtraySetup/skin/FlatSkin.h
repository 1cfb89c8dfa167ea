// The skin component dropped on a form: its published properties with their defaults, the
// palette it derives, and the walk that hooks (or unhooks) the form's controls when it is
// switched on or off.
#pragma once

#include <memory>
#include <vector>

#include "plugins/vtraySetup/rt/Form.h"
#include "plugins/vtraySetup/skin/ControlSubClass.h"
#include "plugins/vtraySetup/skin/SkinContext.h"
#include "plugins/vtraySetup/skin/SkinKinds.h"

namespace skin {

class FlatSkin : public frt::Component {
 public:
  // The tag that keeps a control or form out of the skin's hands.
  static const int kExemptTag = 999;

  explicit FlatSkin(frt::Form* form);
  ~FlatSkin() override;
  const char* className() const override { return "TFlatSkin"; }

  int dimLevel = 30;
  int grayLevel = 10;
  frt::FontStyle font;  // the screen's menu font
  bool drawMenuBar = false;
  int iconWidth = 24;
  bool drawSelect = true;
  bool overrideOwnerDraw = false;
  bool gradient = false;
  bool flatMenu = false;
  bool autoDetect = false;
  bool flatMenuPending = false;  // a flat-menu notice waits at the application window

  SkinColorSettings& colors() { return colors_; }
  ContainerSet skinContainers() const { return containers_; }
  ControlSet skinControls() const { return controls_; }
  void setSkinContainers(ContainerSet set);
  void setSkinControls(ControlSet set);
  bool active() const { return active_; }
  void setActive(bool active);
  // Leaves the forms without a skin of their own to another component (or takes them over).
  bool disableSubclassing() const { return disableSubclassing_; }
  void setDisableSubclassing(bool value);
  // Skinning a form that has no component of its own, for the manager.
  void hookForeign(frt::Form* form) { hookComponentsOf(form); }
  void unhookForeign(frt::Form* form);

  // What the system reported when the component was made; no painting depends on it.
  bool windowsNT() const { return windowsNT_; }
  bool version5() const { return version5_; }  // version 5.0 or 5.1

  // The palette and settings for a painting, the display depth asked anew.
  SkinContext context() const;
  frt::Form* form() const { return form_; }
  const std::vector<ControlSubClass*>& hooks() const { return hooks_; }
  ControlSubClass* hookOf(const frt::Control* control) const;

 private:
  void hookForm() { hookComponentsOf(form_); }
  void hookComponentsOf(frt::Form* form);
  void hookMenu(frt::Menu* menu);
  bool hookBar(frt::Control* control);
  void unhookAll();
  bool selected(const frt::Control& control) const;

  frt::Form* form_;
  SkinColorSettings colors_;
  ContainerSet containers_;
  ControlSet controls_;
  bool active_ = false;
  bool disableSubclassing_ = false;
  bool windowsNT_ = false;
  bool version5_ = false;
  std::vector<ControlSubClass*> hooks_;
  std::vector<frt::Menu*> menus_;  // menus whose items draw through the skin
  std::vector<frt::Control*> bars_;  // tool and control bars drawing through the skin
  int listener_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace skin
