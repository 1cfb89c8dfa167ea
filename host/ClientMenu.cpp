// Placeholder until the client's popup menu lands.
#include "host/Client.h"

void Client::buildMenu() {}
bool Client::ownsCommandId(int) const { return false; }
void Client::onMenuCommand(int) {}
