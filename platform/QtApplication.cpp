// The one Qt application of the process, created on the first window call.
#include <QApplication>
#include <QtGlobal>
#include <clocale>
#include <cstdlib>
#include <mutex>

#include "platform/FontFaces.h"
#include "platform/GdiObjects.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"

namespace vornplatform {

void ensureApplication() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (QCoreApplication::instance()) return;
    bool noDisplay = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
    if (noDisplay && !std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps references to argc and argv for the application's lifetime.
    static int argc = 1;
    static char name[] = "vornith";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Menus, message boxes and controls without a font of their own show the dialog font, in
    // pixels, whatever resolution the screen reports.
    installFaceSubstitutes();
    QApplication::setFont(fontFromLogFont(guiLogFont()));
    // Qt adopted the environment's locale; number formatting and byte classes stay "C".
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_CTYPE, "C");
    startMessageRouting();
  });
}

}  // namespace vornplatform
