#include "plugins/MineDuel/MineDuelSetupPage.h"

#include "sdk/PlugsSession.h"

MineDuelSetupPage::~MineDuelSetupPage() { destroyPage(); }

void MineDuelSetupPage::reloadSetup() {
  if (session == nullptr) return;
  sample1 = session->getClientBool("MineDuel Sample1", true) ? 1 : 0;
  sample2 = session->getClientBool("MineDuel Sample2", false) ? 1 : 0;
}

void MineDuelSetupPage::writeSetup() {
  if (session == nullptr) return;
  session->writeClientBool("MineDuel Sample1", sample1 != 0);
  session->writeClientBool("MineDuel Sample2", sample2 != 0);
}

void MineDuelSetupPage::create(HWND parent) {
  if (page != nullptr || parent == nullptr) return;
  page = new ExistWindow(parent);
  page->setClient(&tabs);
  tabs.addPage(&globalLine, "Global MineDuel Setup");
  first = new CheckBoxButton("Just a sample ...");
  second = new CheckBoxButton("Another sample ...");
  globalLine.addChild(first, 10);
  globalLine.addChild(second, 10);
  globalLine.addChild(&filler, 80);
}

void MineDuelSetupPage::destroyPage() {
  delete page;
  page = nullptr;
  delete first;
  delete second;
  first = second = nullptr;
}

void MineDuelSetupPage::onSetupOpen() {
  if (page == nullptr) return;
  first->setChecked(sample1 != 0);
  second->setChecked(sample2 != 0);
}

void MineDuelSetupPage::onSetupClose() {
  if (page == nullptr) return;
  sample1 = first->isChecked() ? 1 : 0;
  sample2 = second->isChecked() ? 1 : 0;
}
