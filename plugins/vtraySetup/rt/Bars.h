// Tool bars with their buttons, and control bars whose child controls sit on bands. Both
// paint through events a skin can take over: the tool bar asks for each button's drawing with
// its custom-draw state bits, the control bar for each band.
#pragma once

#include <functional>

#include "plugins/vtraySetup/rt/ImageList.h"
#include "plugins/vtraySetup/rt/Menu.h"
#include "plugins/vtraySetup/rt/WinControl.h"

namespace frt {

enum class ToolButtonStyle { Button, Check, DropDown, Separator, Divider };

// A button of a tool bar: no window of its own, painted and clicked through the bar.
class ToolButton : public Component {
 public:
  explicit ToolButton(Component* owner) : Component(owner) {}
  const char* className() const override { return "TToolButton"; }
  RECT bounds{0, 0, 0, 0};  // in the bar's client area
  ToolButtonStyle style = ToolButtonStyle::Button;
  std::string caption;
  int imageIndex = -1;
  bool down = false;
  bool enabled = true;
  bool indeterminate = false;
  bool rightToLeft = false;
  MenuItem* menuItem = nullptr;
  PopupMenu* dropdownMenu = nullptr;
};

class ToolBar : public WinControl {
 public:
  // The state bits of the button; set defaultDraw false to draw nothing of the bar's own.
  using CustomDrawButton = std::function<void(ToolBar&, ToolButton&, UINT state, bool& defaultDraw)>;

  using WinControl::WinControl;
  // The buttons go first: their end notices still reach the bar's list of them.
  ~ToolBar() override { destroyComponents(); }
  const char* className() const override { return "TToolBar"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TToolBar" || n == "TToolWindow" || WinControl::inheritsFrom(n);
  }
  ToolButton* addButton(const RECT& bounds, ToolButtonStyle style = ToolButtonStyle::Button);
  const std::vector<ToolButton*>& buttons() const { return buttons_; }
  int indexOf(const ToolButton* button) const;
  // The custom-draw state bits a button has now (hot, pressed, checked, disabled...).
  UINT stateOf(const ToolButton& button) const;
  void paint(Canvas& canvas) override;
  void defaultHandler(Message& message) override;
  // The canvas being painted on, for the drawing event; null outside painting.
  Canvas* canvas() const { return canvas_; }

  const ImageList* images = nullptr;
  const ImageList* disabledImages = nullptr;
  const ImageList* hotImages = nullptr;
  bool showCaptions = false;
  bool list = false;
  bool transparent = false;
  bool flat = false;
  CustomDrawButton onCustomDrawButton;
  const void* drawingOwner = nullptr;  // who set the event (null: the bar's own)

 private:
  ToolButton* buttonAt(int x, int y) const;
  void setHot(ToolButton* button);

  std::vector<ToolButton*> buttons_;
  ToolButton* hot_ = nullptr;
  ToolButton* pressed_ = nullptr;
  Canvas* canvas_ = nullptr;
};

class ControlBar : public WinControl {
 public:
  // Clear the two flags to keep the bar from drawing its own grabber and frame.
  struct PaintOptions {
    bool grabber = true;
    bool frame = true;
  };
  using BandPaint = std::function<void(ControlBar&, Control& band, Canvas&, RECT&, PaintOptions&)>;

  using WinControl::WinControl;
  const char* className() const override { return "TControlBar"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TControlBar" || n == "TCustomControlBar" || WinControl::inheritsFrom(n);
  }
  // The band of a child: its bounds with room for the grabber on the left.
  static RECT bandOf(const Control& child);
  void paint(Canvas& canvas) override;

  BandPaint onBandPaint;
  const void* drawingOwner = nullptr;
};

}  // namespace frt
