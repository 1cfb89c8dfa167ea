// Font settings and their three keys in the client's plug-in settings file.
#include "host/FontSetting.h"

#include "host/Client.h"
#include "host/TextFormat.h"
#include "lib/TextCopy.h"

namespace {

// "Font <name> <part>".
String keyOf(const char* name, const char* part) {
  return formatText("Font %s %s", name ? name : "", part);
}

// Room for the stored face; a longer one is cut.
const int FaceBufferSize = 4096;
const int FaceTaken = 4092;

}  // namespace

FontSetting::FontSetting(Client* owner, const char* name, const char* label, const char* face,
                         int size, int style)
    : Font(face, size), owner(owner), name(copyText(name)), label(copyText(label)) {
  IniFile& ini = owner->getPlugsIni();
  int storedSize = ini.getInt(keyOf(name, "size").text(), size);
  int storedStyle = ini.getInt(keyOf(name, "style").text(), style);
  char storedFace[FaceBufferSize] = {};
  ini.getString(keyOf(name, "name").text(), storedFace, FaceTaken, face ? face : "");
  setFace(storedFace);
  setSize(storedSize);
  setStyle(storedStyle);
}

FontSetting::~FontSetting() {
  IniFile& ini = owner->getPlugsIni();
  const char* face = getFace();
  ini.writeString(keyOf(name, "name").text(), face ? face : "");
  ini.writeInt(keyOf(name, "size").text(), getSize());
  ini.writeInt(keyOf(name, "style").text(), getStyle());
  delete[] name;
  delete[] label;
}
