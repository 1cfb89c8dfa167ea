#include "plugins/NevLine/NevLineSetup.h"

#include <cstdio>
#include <cstdlib>

#include "sdk/PlugsSession.h"

namespace {

const char* const kTab2SpaceKey = "NevLine Tab2Space";
const char* const kTabSizeKey = "NevLine TabSize";
const int kDefaultTabSize = 4;
const int kMaxTabSize = 16;
const int kZoneCharacters = 15;  // of the edit, read as the number

}  // namespace

NevLineSetup::~NevLineSetup() { destroyPage(); }

int NevLineSetup::clampTabSize(int size) {
  if (size <= 0) return kDefaultTabSize;
  return size > kMaxTabSize ? kMaxTabSize : size;
}

void NevLineSetup::readSetup() {
  if (session == nullptr) return;
  tab2Space = session->getClientBool(kTab2SpaceKey, true);
  tabSize = clampTabSize(session->getClientInt(kTabSizeKey, kDefaultTabSize));
}

void NevLineSetup::writeSetup() {
  if (session == nullptr) return;
  session->writeClientBool(kTab2SpaceKey, tab2Space);
  session->writeClientInt(kTabSizeKey, tabSize);
}

void NevLineSetup::create(HWND parent) {
  if (page != nullptr || parent == nullptr) return;
  page = new ExistWindow(parent);
  page->setClient(&frame);
  frame.setClient(&line);
  convertBox = new CheckBoxButton("Convert all sending tabs into spaces...");
  sizeZone = new TabSizeZone("Nb Spaces Zone");
  line.addChild(convertBox, 10);
  line.addChild(&sizeLine, 10);
  sizeLine.addChild(&sizeLabel, 30);
  sizeLine.addChild(sizeZone, 70);
  line.addChild(&fillers[0], 40);
  line.addChild(&fillers[1], 40);
}

void NevLineSetup::destroyPage() {
  delete page;
  page = nullptr;
  delete convertBox;
  convertBox = nullptr;
  delete sizeZone;
  sizeZone = nullptr;
}

void NevLineSetup::onSetupOpen() {
  if (page == nullptr) return;
  convertBox->setChecked(tab2Space);
  char text[16];
  std::snprintf(text, sizeof text, "%i", tabSize);
  sizeZone->setText(text);
}

void NevLineSetup::onSetupClose() {
  if (page == nullptr) return;
  tab2Space = convertBox->isChecked();
  char text[kZoneCharacters + 1] = {};
  sizeZone->getText(text, sizeof text);
  tabSize = clampTabSize(std::atoi(text));
}
