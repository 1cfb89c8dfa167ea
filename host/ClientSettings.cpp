// Placeholder until the client's colours and fonts land.
#include "host/Client.h"

void Client::defineColor(const char*, const char*, int, int, int) {}
COLORREF Client::getColor(const char*) { return 0; }
void Client::setColor(const char*, int, int, int) {}
void Client::defineFont(const char*, const char*, const char*, int, int) {}
FontRecord Client::getFont(const char*) { return FontRecord{nullptr, 0, 0}; }
void Client::setFont(const char*, const char*, int, int) {}
void Client::chooseColor(const char*) {}
void Client::chooseFont(const char*) {}
