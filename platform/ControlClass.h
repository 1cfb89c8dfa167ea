// The extension point that system control classes ("Static", "Button", later edits, tabs,
// lists, trees) plug into: a Qt widget factory plus a class procedure over that widget.
#pragma once

#include <QWidget>

#include "platform/win32_window.h"

// Exported so that the layer's own tests can reach these internals.
#pragma GCC visibility push(default)
namespace vornplatform {

// A system control class. Register it once, from a static initialiser in the control's own
// source file:
//   static const bool registered = registerControlClass(kMyControl);
// CreateWindowExA then makes the widget with createWidget, places it (the layer owns the
// geometry), filters its input (and its viewport's, for a QAbstractScrollArea) into Win32
// messages, and sends WM_NCCREATE/WM_CREATE through the procedure.
//
// The procedure is the class procedure (what GetClassInfoExA reports and what subclassing
// replaces). It handles the control's messages over the widget and passes everything else to
// controlDefaultProc. Qt acts on a key or mouse event only when its Win32 message reached the
// class procedure, so a subclass that swallows a message keeps the event from the widget.
// Style changes (SetWindowLongA(GWL_STYLE)) arrive as WM_STYLECHANGED with a STYLESTRUCT:
// apply them to the widget there.
struct ControlClass {
  const char* name;  // compared ignoring case
  UINT classStyle;   // CS_DBLCLKS makes double clicks arrive as WM_xBUTTONDBLCLK
  WNDPROC procedure;
  // Makes the widget as a child of parent (null for a top-level control) from the creation
  // record: style, text, size. Runs on the GUI thread; hwnd is already valid.
  QWidget* (*createWidget)(HWND hwnd, const CREATESTRUCTA& create, QWidget* parent);
};

// Adds the class to the registry; false when a class of that name exists.
bool registerControlClass(const ControlClass& control);

// The control's widget, or null for a dead handle or a widget of another type.
QWidget* controlWidgetOf(HWND hwnd);
template <class W>
W* controlWidget(HWND hwnd) {
  return dynamic_cast<W*>(controlWidgetOf(hwnd));
}

// Default processing shared by controls: WM_SETFONT applies the font to the widget and
// WM_GETFONT returns it, WM_ENABLE follows the window; everything else goes to DefWindowProcA
// (which keeps the text for WM_SETTEXT/WM_GETTEXT and marks input as reaching the class).
LRESULT controlDefaultProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Notifications to the control's parent, sent synchronously: WM_COMMAND with
// MAKEWPARAM(id, code) and the control as lParam; WM_NOTIFY with the header's hwndFrom and
// idFrom filled in (code set by the caller; the record may be larger than NMHDR).
LRESULT sendCommandToParent(HWND control, WORD code);
LRESULT sendNotifyToParent(HWND control, NMHDR* header);

}  // namespace vornplatform
#pragma GCC visibility pop
