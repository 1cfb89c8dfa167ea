#include "host/PlugsListDialog.h"

#include <string>

#include "host/Client.h"
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "lib/RootWindow.h"

namespace {

std::string titleFor(const char* clientName) {
  return std::string("Plugs list of '") + (clientName != nullptr ? clientName : "") + "'";
}

bool holds(List<PlugRecord*>& list, PlugRecord* record) {
  for (ListNode<PlugRecord*>* node = list.headNode(); node != nullptr; node = node->next)
    if (node->value == record) return true;
  return false;
}

}  // namespace

PlugsListDialog::PlugsListDialog(const char* clientName)
    : FixedWindow(titleFor(clientName).c_str(), 508, 302, false),
      mainContainer("Main Container", true),
      unusedFrame("Plugs unused"),
      center("Center", true),
      usedFrame("Plugs used"),
      south("South", false),
      used("Used", ListView::Unsorted),
      unused("Unused", ListView::Unsorted),
      closeButton("Close", 0),
      applyButton("Apply", 1),
      toUsedButton(">", 2),
      toUnusedButton("<", 3),
      spacers{{"", false}, {"", false}, {"", false}, {"", false}, {"", false}, {"", false}} {
  for (NotifyButton* button : {&closeButton, &applyButton, &toUsedButton, &toUnusedButton})
    button->setListener(this);
}

PlugsListDialog::~PlugsListDialog() {
  if (isCreated()) destroy();
}

void PlugsListDialog::create(Client* newOwner) {
  RootWindow* root = getRootWindow();
  if (!isCreated() && root != nullptr) {
    root->addChild(this);
    takeClientSize(hwnd, clientWidthValue, clientHeightValue);
    setClient(&mainContainer);
    mainContainer.setRegion(&unusedFrame, CompassContainer::West, 235, -1);
    mainContainer.setRegion(&usedFrame, CompassContainer::East, 235, -1);
    mainContainer.setRegion(&center, CompassContainer::Centre, 0, -1);
    mainContainer.setRegion(&south, CompassContainer::South, 0, -1);
    unusedFrame.setClient(&unused);
    usedFrame.setClient(&used);
    center.addChild(&spacers[0], 20);
    center.addChild(&toUsedButton, 10);
    center.addChild(&spacers[1], 20);
    center.addChild(&toUnusedButton, 10);
    center.addChild(&spacers[2], 20);
    south.addChild(&spacers[3], 20);
    south.addChild(&closeButton, 20);
    south.addChild(&spacers[4], 20);
    south.addChild(&applyButton, 20);
    south.addChild(&spacers[5], 20);
    used.setShowSelectionAlways(true);
    unused.setShowSelectionAlways(true);
  }
  owner = newOwner;
}

bool PlugsListDialog::isUsed(PlugRecord* record) {
  return owner != nullptr && owner->findSessionRecord(record, nullptr) != nullptr;
}

void PlugsListDialog::addToClient(PlugRecord* record) {
  if (owner != nullptr) owner->addPlug(record);
}

void PlugsListDialog::removeFromClient(PlugRecord* record) {
  if (owner != nullptr) owner->removePlug(record);
}

void PlugsListDialog::fillFrom(int kind) {
  PlugList* list = plugsManagers != nullptr ? plugsManagers->plugList(kind) : nullptr;
  if (list == nullptr) return;
  for (PlugRecord& record : *list)
    (isUsed(&record) ? used : unused).addItem(record.name, reinterpret_cast<LPARAM>(&record));
}

void PlugsListDialog::show() {
  used.clear();
  unused.clear();
  toAdd.clear();
  toRemove.clear();
  fillFrom(PLUG_KIND_ADDIN);
  fillFrom(PLUG_KIND_INOUT);
  FixedWindow::show();
}

void PlugsListDialog::move(ListView& from, ListView& to, List<PlugRecord*>& cancel,
                           List<PlugRecord*>& queue) {
  PlugRecord* record = reinterpret_cast<PlugRecord*>(from.getSelectedData());
  if (record == nullptr) return;
  from.removeItem(record->name);
  to.addItem(record->name, reinterpret_cast<LPARAM>(record));
  if (holds(cancel, record))
    cancel.remove(record);
  else
    queue.add(record, true);
}

void PlugsListDialog::moveToUsed() { move(unused, used, toRemove, toAdd); }

void PlugsListDialog::moveToUnused() { move(used, unused, toAdd, toRemove); }

void PlugsListDialog::apply() {
  toRemove.forEach([this](PlugRecord*& record) { removeFromClient(record); });
  toAdd.forEach([this](PlugRecord*& record) { addToClient(record); });
}

void PlugsListDialog::onButton(int id) {
  switch (id) {
    case 0:
      hide();
      break;
    case 1:
      apply();
      break;
    case 2:
      moveToUsed();
      break;
    case 3:
      moveToUnused();
      break;
    default:
      break;
  }
}

bool PlugsListDialog::onClose() {
  hide();
  return true;
}
