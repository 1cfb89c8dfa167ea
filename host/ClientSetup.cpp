// Placeholder until the client's setup window lands.
#include "host/Client.h"

void Client::setupInit() {}
void Client::showSetup() {}
void Client::onSetupClose() {}
void Client::setupTerm() {}
void Client::onButton(int) {}
