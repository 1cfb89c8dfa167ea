// Colour settings and their one key in the client's plug-in settings file.
#include "host/ColorSetting.h"

#include "host/Client.h"
#include "host/TextFormat.h"
#include "lib/TextCopy.h"

namespace {

String keyOf(const char* name) { return formatText("Color %s", name ? name : ""); }

}  // namespace

ColorSetting::ColorSetting(Client* owner, const char* name, const char* label, int r, int g, int b)
    : colour(RGB(r, g, b)), owner(owner), name(copyText(name)), label(copyText(label)) {
  colour = (COLORREF)owner->getPlugsIni().getInt(keyOf(name).text(), (int)colour);
}

ColorSetting::~ColorSetting() {
  owner->getPlugsIni().writeInt(keyOf(name).text(), (int)colour);
  delete[] name;
  delete[] label;
}
