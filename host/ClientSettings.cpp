// A client's colours and fonts: defined by its plug-ins by name (the first definition wins),
// read and changed by them, changed by the user in the setup window, which tells every plug-in.
#include <cstring>

#include "host/Client.h"
#include "host/ColorSetting.h"
#include "host/FontSetting.h"
#include "lib/Font.h"
#include "lib/ListView.h"

namespace {

// The setting of that name in a table keyed by name hashes: the first entry of the name's
// key, or, when two names share a hash, the one whose name matches.
template <class Setting>
Setting* findByName(HashTable<Setting*>& table, const char* name) {
  if (!name) return nullptr;
  Setting** first = table.find(hashString(name));
  if (!first) return nullptr;
  if (std::strcmp((*first)->name, name) == 0) return *first;
  Setting* found = nullptr;
  table.forEach([&](HashEntry<Setting*>& entry) {
    if (!found && std::strcmp(entry.value->name, name) == 0) found = entry.value;
  });
  return found;
}

}  // namespace

ColorSetting* Client::findColor(const char* name) { return findByName(colors, name); }

FontSetting* Client::findFont(const char* name) { return findByName(fonts, name); }

void Client::defineColor(const char* name, const char* label, int r, int g, int b) {
  if (!name || findColor(name)) return;
  ColorSetting* setting = new ColorSetting(this, name, label, r, g, b);
  setting->order = ++settingsDefined;
  colors.add(hashString(name), setting);
  if (colorList) colorList->addItem(setting->label, reinterpret_cast<LPARAM>(setting));
}

COLORREF Client::getColor(const char* name) {
  ColorSetting* setting = findColor(name);
  return setting ? setting->colour : 0;
}

void Client::setColor(const char* name, int r, int g, int b) {
  if (ColorSetting* setting = findColor(name)) setting->colour = RGB(r, g, b);
}

void Client::defineFont(const char* name, const char* label, const char* face, int size,
                        int style) {
  if (!name || findFont(name)) return;
  FontSetting* setting = new FontSetting(this, name, label, face, size, style);
  setting->order = ++settingsDefined;
  fonts.add(hashString(name), setting);
  if (fontList) fontList->addItem(setting->label, reinterpret_cast<LPARAM>(setting));
}

FontRecord Client::getFont(const char* name) {
  FontSetting* setting = findFont(name);
  if (!setting) return FontRecord{nullptr, 0, 0};
  return FontRecord{setting->getFace(), setting->getSize(), setting->getStyle()};
}

void Client::setFont(const char* name, const char* face, int size, int style) {
  FontSetting* setting = findFont(name);
  if (!setting) return;
  setting->setFace(face);
  setting->setSize(size);
  setting->setStyle(style);
}

void Client::chooseColor(const char* name) {
  ColorSetting* setting = findColor(name);
  if (!setting) return;
  ColourTriple triple = {GetRValue(setting->colour), GetGValue(setting->colour),
                         GetBValue(setting->colour)};
  if (!::chooseColor(&triple)) return;
  setting->colour = RGB(triple.red, triple.green, triple.blue);
  EventRecord event;
  event.set(setting->name, 1, "Color", setting->name);
  sendSystemEvent(6, &event);
}

void Client::chooseFont(const char* name) {
  FontSetting* setting = findFont(name);
  if (!setting || !setting->chooseFont()) return;
  EventRecord event;
  event.set(setting->name, 1, "Font", setting->name);
  sendSystemEvent(7, &event);
}

// Each setting is deleted as its own type, so that it writes itself to Plugs.ini.
void Client::deleteSettings() {
  colors.forEach([](HashEntry<ColorSetting*>& entry) { delete entry.value; });
  colors.clear();
  fonts.forEach([](HashEntry<FontSetting*>& entry) { delete entry.value; });
  fonts.clear();
}
