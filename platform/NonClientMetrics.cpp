// The frame, caption and menu metrics of the layer's fixed look: the dialog face at 8 points
// for every text, bold in captions, the bar and caption heights GetSystemMetrics reports.
#include "platform/NonClientMetrics.h"

#include "platform/GdiObjects.h"
#include "platform/win32.h"

namespace vornplatform {

bool nonClientMetrics(UINT size, NONCLIENTMETRICSA* m) {
  if (m == nullptr) return false;
  UINT claimed = size != 0 ? size : m->cbSize;
  if (claimed != sizeof(NONCLIENTMETRICSA)) return false;
  LOGFONTA text = guiLogFont();
  LOGFONTA caption = text;
  caption.lfWeight = FW_BOLD;
  *m = NONCLIENTMETRICSA{};
  m->cbSize = sizeof(NONCLIENTMETRICSA);
  m->iBorderWidth = GetSystemMetrics(SM_CXBORDER);
  m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  m->iCaptionWidth = GetSystemMetrics(SM_CYCAPTION) - 5;
  m->iCaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 5;
  m->lfCaptionFont = caption;
  m->iSmCaptionWidth = m->iSmCaptionHeight = 15;
  m->lfSmCaptionFont = caption;
  m->iMenuWidth = m->iMenuHeight = GetSystemMetrics(SM_CYMENU);
  m->lfMenuFont = text;
  m->lfStatusFont = text;
  m->lfMessageFont = text;
  return true;
}

}  // namespace vornplatform
