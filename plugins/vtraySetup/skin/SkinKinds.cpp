#include "plugins/vtraySetup/skin/SkinKinds.h"

#include <cstring>

namespace skin {

namespace {

struct KindRow {
  const char* name;  // a class the control is or derives from
  SkinControl member;
  PaintKind paint;
};

// First match wins: derived names before their bases.
const KindRow kRows[] = {
    {"TDBLookupComboBox", xcButton, PaintKind::LookupCombo},
    {"TDBNavigator", xcButton, PaintKind::None},
    {"TBitBtn", xcBitBtn, PaintKind::BitBtn},
    {"TButton", xcButton, PaintKind::Button},
    {"TSpeedButton", xcSpeedButton, PaintKind::SpeedButton},
    {"TCustomGroupBox", xcGroupBox, PaintKind::GroupBox},
    {"TRadioButton", xcRadioButton, PaintKind::RadioButton},
    {"TCustomCheckBox", xcCheckBox, PaintKind::CheckBox},
    {"TCustomListView", xcListView, PaintKind::ListFrame},
    {"TCustomTreeView", xcTreeView, PaintKind::ListFrame},
    {"TCustomListBox", xcListBox, PaintKind::ListFrame},
    {"TCustomRichEdit", xcRichEdit, PaintKind::RichEdit},
    {"TCustomMemo", xcMemo, PaintKind::Edit},
    {"TMaskEdit", xcMaskEdit, PaintKind::Edit},
    {"TDBEdit", xcMaskEdit, PaintKind::Edit},
    {"TCustomEdit", xcEdit, PaintKind::Edit},
    {"TCustomComboBox", xcCombo, PaintKind::Combo},
    {"TProgressBar", xcProgressBar, PaintKind::Progress},
    {"THotKey", xcHotKey, PaintKind::HotKey},
    {"TUpDown", xcUpDown, PaintKind::UpDown},
    {"TDBCtrlPanel", xcPanel, PaintKind::Panel},
    {"TCustomPanel", xcPanel, PaintKind::Panel},
};

const KindRow* rowOf(const frt::Control& control) {
  for (const KindRow& row : kRows)
    if (std::strcmp(control.className(), row.name) == 0 || control.inheritsFrom(row.name))
      return &row;
  return nullptr;
}

}  // namespace

SkinControl controlMemberOf(const frt::Control& control) {
  const KindRow* row = rowOf(control);
  return row ? row->member : kSkinControlCount;
}

PaintKind paintKindOf(const frt::Control& control) {
  const KindRow* row = rowOf(control);
  return row ? row->paint : PaintKind::None;
}

SkinContainer containerMemberOf(const frt::Control& parent) {
  if (parent.inheritsFrom("TCustomForm")) return xccForm;
  if (parent.inheritsFrom("TCustomFrame")) return xccFrame;
  if (parent.inheritsFrom("TCustomGroupBox")) return xccGroupBox;
  if (parent.inheritsFrom("TCustomPanel")) return xccPanel;
  if (parent.inheritsFrom("TScrollBox")) return xccScrollBox;
  if (parent.inheritsFrom("TTabSheet") || std::strcmp(parent.className(), "TdxTabSheet") == 0)
    return xccTabSheet;
  if (parent.inheritsFrom("TToolBar")) return xccToolbar;
  if (parent.inheritsFrom("TControlBar")) return xccControlbar;
  return kSkinContainerCount;
}

}  // namespace skin
