// Placeholder until the client's lifecycle lands.
#include "host/Client.h"

Client::Client(const char* sectionName)
    : plugsIni(".\\Plugs.ini"),
      hostIni(".\\Vornith.ini"),
      connection(nullptr),
      log(".\\client.log", 1024) {
  (void)sectionName;
}
Client::~Client() {}
void Client::init() {}
void Client::term() {}
void Client::readConfig() {}
void Client::writeConfig() {}
void Client::reloadPlugsSetup() {}
void Client::writePlugsSetup() {}
