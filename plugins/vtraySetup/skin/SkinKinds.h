// The kinds of controls and containers the skin can be told to handle, in the order of its
// SkinControls and SkinContainers sets, and how a control's class name selects one.
#pragma once

#include <bitset>

#include "plugins/vtraySetup/rt/Control.h"

namespace skin {

enum SkinContainer {
  xccForm, xccFrame, xccToolbar, xccCoolbar, xccControlbar, xccPanel, xccScrollBox,
  xccGroupBox, xccTabSheet, xccPageScroller, kSkinContainerCount
};

enum SkinControl {
  xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcListBox, xcEdit, xcMaskEdit,
  xcMemo, xcRichEdit, xcMiscEdit, xcCheckBox, xcRadioButton, xcButton, xcBitBtn,
  xcSpeedButton, xcUpDown, xcPanel, xcGroupBox, xcTreeView, xcListView, xcProgressBar,
  xcHotKey, kSkinControlCount
};

// How a hooked control is repainted.
enum class PaintKind {
  None, CheckBox, RadioButton, ListFrame, Edit, RichEdit, Progress, HotKey, Panel, UpDown,
  Combo, Button, BitBtn, SpeedButton, GroupBox, LookupCombo
};

using ContainerSet = std::bitset<kSkinContainerCount>;
using ControlSet = std::bitset<kSkinControlCount>;

// The SkinControls member that selects the control (kSkinControlCount for none) and the
// painting it gets.
SkinControl controlMemberOf(const frt::Control& control);
PaintKind paintKindOf(const frt::Control& control);
// The SkinContainers member of a parent (kSkinContainerCount for none).
SkinContainer containerMemberOf(const frt::Control& parent);

}  // namespace skin
