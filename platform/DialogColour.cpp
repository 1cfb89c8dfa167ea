// ChooseColorA over QColorDialog. Qt keeps one set of custom colours per process, so every
// call loads the caller's 16 into it and, on OK, copies them back.
#include <QColorDialog>
#include <QWidget>

#include "platform/DialogHooks.h"
#include "platform/ModalLoops.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

const int kCustomColours = 16;

QColor toQColor(COLORREF colour) {
  return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

COLORREF fromQColor(const QColor& colour) {
  return RGB(colour.red(), colour.green(), colour.blue());
}

std::vector<COLORREF> loadCustomColours(const COLORREF* custom) {
  std::vector<COLORREF> shown;
  if (custom == nullptr) return shown;
  int count = std::min(kCustomColours, QColorDialog::customCount());
  for (int i = 0; i < count; ++i) {
    QColorDialog::setCustomColor(i, toQColor(custom[i]));
    shown.push_back(custom[i]);
  }
  return shown;
}

void storeCustomColours(COLORREF* custom) {
  if (custom == nullptr) return;
  int count = std::min(kCustomColours, QColorDialog::customCount());
  for (int i = 0; i < count; ++i) custom[i] = fromQColor(QColorDialog::customColor(i));
}

bool showColourDialog(HWND owner, COLORREF initial, COLORREF* chosen) {
  bool accepted = false;
  runOnGuiThread([&]() {
    QWidget* parent = owner == nullptr ? nullptr : topLevelWidgetOf(owner);
    QColorDialog dialog(toQColor(initial), parent);
    accepted = runDialog(dialog, parent == nullptr);
    if (accepted) *chosen = fromQColor(dialog.selectedColor());
  });
  return accepted;
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

BOOL ChooseColorA(LPCHOOSECOLORA choose) {
  if (choose == nullptr) {
    setDialogError(CDERR_INITIALIZATION);
    return FALSE;
  }
  setDialogError(0);
  ensureApplication();
  HWND owner = IsWindow(choose->hwndOwner) ? choose->hwndOwner : nullptr;
  COLORREF initial = (choose->Flags & CC_RGBINIT) ? choose->rgbResult & 0xFFFFFF : RGB(0, 0, 0);
  vorntest::ShownColourDialog shown{owner, choose->Flags, initial, {}, false, false};
  shown.customColours = loadCustomColours(choose->lpCustColors);
  vorntest::ColourChoice answer;
  bool ending = endingRequested();
  Prepared prepared = ending ? Prepared::None : takeColourAnswer(&answer);
  shown.prepared = prepared != Prepared::None;
  COLORREF chosen = initial;
  if (prepared == Prepared::Answer) {
    chosen = answer.colour & 0xFFFFFF;
    if (answer.customIndex >= 0 && answer.customIndex < QColorDialog::customCount())
      QColorDialog::setCustomColor(answer.customIndex, toQColor(answer.customColour));
    shown.confirmed = true;
  } else if (prepared == Prepared::None && !ending && !offscreenPlatform()) {
    shown.confirmed = showColourDialog(owner, initial, &chosen);
  }
  recordColourDialog(shown);
  if (!shown.confirmed) return FALSE;
  choose->rgbResult = chosen;
  storeCustomColours(choose->lpCustColors);
  return TRUE;
}
