// Placeholder until the settings land.
#include "plugins/NevChat/NevChatSetupPage.h"

NevChatSetupPage::NevChatSetupPage() {}
NevChatSetupPage::~NevChatSetupPage() {}
void NevChatSetupPage::setSession(NevChatSession*) {}
void NevChatSetupPage::readSetup() {}
void NevChatSetupPage::writeSetup() {}
void NevChatSetupPage::create(HWND) {}
void NevChatSetupPage::onSetupOpen() {}
void NevChatSetupPage::onSetupClose() {}
