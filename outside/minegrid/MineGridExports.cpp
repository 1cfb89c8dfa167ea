// The grid library's entry points as the game looks them up by name, and the exports tests
// use to read what was asked of it and to click like a person.
#include "outside/minegrid/GridPicture.h"

#define MINEGRID_EXPORT extern "C" __attribute__((visibility("default")))

MINEGRID_EXPORT void Init(HWND window, int width, int height) {
  GridPicture::current().init(window, width, height);
}

MINEGRID_EXPORT void Reset() { GridPicture::current().log() += "Reset\n"; }

MINEGRID_EXPORT void Enable(unsigned char on) {
  GridPicture::current().log() += on ? "Enable 1\n" : "Enable 0\n";
  GridPicture::current().enable(on != 0);
}

MINEGRID_EXPORT void Fill(int x, int y, int value, COLORREF colour) {
  GridPicture::current().fill(x, y, value, colour);
}

MINEGRID_EXPORT void BeginUpdate() {
  GridPicture::current().log() += "BeginUpdate\n";
  GridPicture::current().beginUpdate();
}

MINEGRID_EXPORT void EndUpdate() {
  GridPicture::current().log() += "EndUpdate\n";
  GridPicture::current().endUpdate();
}

// Every call so far, one a line ("Fill 3 4 -1 ff0000").
MINEGRID_EXPORT const char* MineGridCallLog() { return GridPicture::current().log().c_str(); }

MINEGRID_EXPORT void MineGridClearLog() { GridPicture::current().log().clear(); }

// A click on a cell; true when it was reported to the game's window.
MINEGRID_EXPORT int MineGridClick(int column, int row) {
  return GridPicture::current().click(column, row) ? 1 : 0;
}

MINEGRID_EXPORT int MineGridLeave() { return GridPicture::current().click(-1, 1 << 20) ? 1 : 0; }

// The picture's window, for tests that click it with the pointer.
MINEGRID_EXPORT HWND MineGridWindow() { return GridPicture::current().window(); }
