// The "Static" control over a QLabel: a text (aligned by style) that can tell its parent about
// clicks (SS_NOTIFY). Containers also use it as a plain parent for other windows.
#include <QLabel>

#include "platform/ControlClass.h"
#include "platform/TextCodec.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

// Text statics wrap at word breaks, except the no-wrap kinds and a text centred vertically,
// which stays on one line.
void applyStyle(QLabel* label, DWORD style) {
  DWORD kind = style & SS_TYPEMASK;
  Qt::Alignment vertical = (style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
  Qt::Alignment horizontal = kind == SS_CENTER  ? Qt::AlignHCenter
                             : kind == SS_RIGHT ? Qt::AlignRight
                                                : Qt::AlignLeft;
  label->setAlignment(horizontal | vertical);
  bool wraps = kind <= SS_RIGHT && !(style & SS_CENTERIMAGE);
  label->setWordWrap(wraps);
}

QWidget* createStatic(HWND, const CREATESTRUCTA& cs, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setText(bytesToQString(cs.lpszName));
  applyStyle(label, static_cast<DWORD>(cs.style));
  label->setTextFormat(Qt::PlainText);
  return label;
}

DWORD styleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }

LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETTEXT:
      if (auto* label = controlWidget<QLabel>(hwnd)) {
        label->setText(bytesToQString(reinterpret_cast<const char*>(lParam)));
      }
      break;
    case WM_LBUTTONDOWN:
      if (styleOf(hwnd) & SS_NOTIFY) sendCommandToParent(hwnd, STN_CLICKED);
      break;
    case WM_LBUTTONDBLCLK:
      if (styleOf(hwnd) & SS_NOTIFY) sendCommandToParent(hwnd, STN_DBLCLK);
      break;
    case WM_STYLECHANGED:
      if (auto* label = controlWidget<QLabel>(hwnd)) applyStyle(label, styleOf(hwnd));
      break;
    default:
      break;
  }
  return controlDefaultProc(hwnd, msg, wParam, lParam);
}

const ControlClass kStatic{"Static", CS_DBLCLKS, staticProc, createStatic};
const bool registered = registerControlClass(kStatic);

}  // namespace
}  // namespace vornplatform
