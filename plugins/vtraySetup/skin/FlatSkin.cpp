#include "plugins/vtraySetup/skin/FlatSkin.h"

#include <algorithm>
#include <cstring>

#include "plugins/vtraySetup/rt/Application.h"
#include "plugins/vtraySetup/skin/BarSkinning.h"
#include "plugins/vtraySetup/skin/FlatSkinManager.h"
#include "plugins/vtraySetup/skin/MenuSkinning.h"

namespace skin {

namespace {

// The screen's menu font as the system reports it; the runtime's default font when it does not.
frt::FontStyle menuFont() {
  frt::FontStyle font;
  font.color = frt::clWindowText;
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return font;
  const LOGFONTA& menu = metrics.lfMenuFont;
  font.name.assign(menu.lfFaceName, strnlen(menu.lfFaceName, sizeof menu.lfFaceName));
  font.height = menu.lfHeight;
  font.bold = menu.lfWeight >= FW_BOLD;
  return font;
}

int displayDepth() {
  HDC screen = GetDC(nullptr);
  int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

}  // namespace

FlatSkin::FlatSkin(frt::Form* form) : frt::Component(form), font(menuFont()), form_(form) {
  containers_.set();
  controls_.set();
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version)) {
    windowsNT_ = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    version5_ = version.dwMajorVersion == 5 && version.dwMinorVersion <= 1;
  }
  colors_.selectFontColor = font.color;
  colors_.fontColor = font.color;
  FlatSkinManager::instance().add(this);
  listener_ = frt::Application::instance().listen(
      [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return MenuSkinning::handleNotice(*this, msg, wParam, lParam);
      });
}

FlatSkin::~FlatSkin() {
  frt::Application::instance().unlisten(listener_);
  unhookAll();
  FlatSkinManager::instance().remove(this);
}

SkinContext FlatSkin::context() const {
  SkinContext c;
  c.bitsPerPixel = displayDepth();
  SkinColorSettings settings = colors_;
  settings.fontColor = font.color;
  c.palette = computePalette(settings, c.deep());
  c.useSystemColors = colors_.useSystemColors;
  c.selectColor = frt::colorToRGB(colors_.selectColor);
  c.dimLevel = dimLevel;
  c.grayLevel = grayLevel;
  c.iconWidth = iconWidth;
  c.drawSelect = drawSelect;
  c.gradient = gradient;
  c.drawMenuBar = drawMenuBar;
  c.font = font;
  return c;
}

void FlatSkin::setActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (active_) hookForm(); else unhookAll();
  FlatSkinManager::instance().refresh();
}

void FlatSkin::setDisableSubclassing(bool value) {
  if (value == disableSubclassing_) return;
  disableSubclassing_ = value;
  FlatSkinManager::instance().refresh();
}

void FlatSkin::setSkinContainers(ContainerSet set) {
  containers_ = set;
  if (active_) unhookAll(), hookForm();
}

void FlatSkin::setSkinControls(ControlSet set) {
  controls_ = set;
  if (active_) unhookAll(), hookForm();
}

// A control is hooked when its kind is chosen and, when its parent is a container of a known
// kind, that kind is chosen too.
bool FlatSkin::selected(const frt::Control& control) const {
  SkinControl member = controlMemberOf(control);
  if (member == kSkinControlCount || !controls_.test(member)) return false;
  if (paintKindOf(control) == PaintKind::None) return false;
  if (control.parent() == nullptr) return true;
  SkinContainer container = containerMemberOf(*control.parent());
  return container == kSkinContainerCount || containers_.test(container);
}

void FlatSkin::hookComponentsOf(frt::Form* form) {
  if (form == nullptr || form->tag == kExemptTag) return;
  for (frt::Component* component : form->components()) {
    if (auto* menu = dynamic_cast<frt::Menu*>(component)) {
      hookMenu(menu);
      continue;
    }
    frt::Control* control = dynamic_cast<frt::Control*>(component);
    if (control == nullptr || control->tag == kExemptTag || hookOf(control)) continue;
    if (hookBar(control)) continue;
    if (!selected(*control)) continue;
    hooks_.push_back(new ControlSubClass(this, control));
  }
}

void FlatSkin::hookMenu(frt::Menu* menu) {
  SkinControl member = menu->isBar() ? xcMainMenu : xcPopupMenu;
  if (menu->tag == kExemptTag || !controls_.test(member)) return;
  if (std::find(menus_.begin(), menus_.end(), menu) != menus_.end()) return;
  MenuSkinning::hook(*this, *menu);
  menus_.push_back(menu);
  // A menu freed before the skin leaves the list.
  std::weak_ptr<bool> alive = alive_;
  menu->freeNotices.push_back([this, alive](frt::Component* gone) {
    if (alive.expired()) return;
    menus_.erase(std::remove(menus_.begin(), menus_.end(), gone), menus_.end());
  });
}

bool FlatSkin::hookBar(frt::Control* control) {
  if (std::find(bars_.begin(), bars_.end(), control) != bars_.end()) return true;
  if (!BarSkinning::hook(*this, *control)) return false;
  bars_.push_back(control);
  std::weak_ptr<bool> alive = alive_;
  control->freeNotices.push_back([this, alive](frt::Component* gone) {
    if (alive.expired()) return;
    bars_.erase(std::remove(bars_.begin(), bars_.end(), gone), bars_.end());
  });
  return true;
}

void FlatSkin::unhookForeign(frt::Form* form) {
  auto onForm = [form](frt::Component* c) { return c == nullptr || c->owner() == form; };
  std::vector<ControlSubClass*> keep;
  for (ControlSubClass* hook : hooks_) {
    if (onForm(hook->control())) delete hook;
    else keep.push_back(hook);
  }
  hooks_.swap(keep);
  for (auto it = bars_.begin(); it != bars_.end();) {
    if (!onForm(*it)) { ++it; continue; }
    BarSkinning::unhook(*this, **it);
    it = bars_.erase(it);
  }
  for (auto it = menus_.begin(); it != menus_.end();) {
    if (!onForm(*it)) { ++it; continue; }
    MenuSkinning::unhook(*this, **it);
    it = menus_.erase(it);
  }
}

void FlatSkin::unhookAll() {
  std::vector<frt::Control*> bars;
  bars.swap(bars_);
  for (frt::Control* bar : bars) BarSkinning::unhook(*this, *bar);
  std::vector<frt::Menu*> menus;
  menus.swap(menus_);
  for (frt::Menu* menu : menus) MenuSkinning::unhook(*this, *menu);
  std::vector<ControlSubClass*> hooks;
  hooks.swap(hooks_);
  for (ControlSubClass* hook : hooks) delete hook;
}

ControlSubClass* FlatSkin::hookOf(const frt::Control* control) const {
  auto found = std::find_if(hooks_.begin(), hooks_.end(),
                            [control](ControlSubClass* h) { return h->control() == control; });
  return found == hooks_.end() ? nullptr : *found;
}

}  // namespace skin
