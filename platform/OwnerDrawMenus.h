// Internal to platform/: owner-drawn items of pop-up menus, measured by their owner window
// with WM_MEASUREITEM and painted by it with WM_DRAWITEM.
#pragma once

#include <QAction>
#include <QImage>
#include <QMenu>
#include <functional>

#include "platform/win32.h"

namespace vornplatform {

struct OwnerDrawnItem {
  HMENU menu = nullptr;
  HWND owner = nullptr;
  UINT id = 0;
  ULONG_PTR data = 0;  // what the item was made with, handed back in both messages
  UINT flags = 0;      // MF_ flags: grayed, disabled, checked
};

// Adds the item to a Qt menu; a click runs choose with its id and closes the menus.
QAction* addOwnerDrawnItem(QMenu* menu, const OwnerDrawnItem& item,
                           const std::function<void(UINT)>& choose);

#pragma GCC visibility push(default)
// The pop-up as it would show, painted off screen: tests check what the owner drew.
QImage renderPopupMenu(HMENU menu, HWND owner);
#pragma GCC visibility pop

}  // namespace vornplatform
