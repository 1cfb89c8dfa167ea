#include "plugins/NevTell/NevTellSession.h"

#include "plugins/NevTell/NevTellTab.h"
#include "sdk/NoCase.h"
#include "sdk/PlugsModule.h"

namespace {

struct ColourKey {
  const char* key;
  const char* label;
  int r, g, b;
};

const ColourKey kColours[] = {
    {"backgrnd", "Background color", 238, 255, 238},
    {"backin", "Background color of the input zone", 255, 255, 255},
    {"backaway", "Background color when you're away", 221, 221, 221},
    {"vornith", "Vornith System color", 192, 0, 0},
    {"normal", "Standard Text color", 0, 0, 0},
    {"yourtext", "Color of your text", 0, 0, 255},
    {"timestamp", "Time stamp color", 96, 96, 96},
};

const char* orEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

NevTellSession::NevTellSession(const char* clientName) : PlugsAddinSession(clientName) {
  settings.setSession(this);
}

NevTellSession::~NevTellSession() {
  deleteTabs();
}

void NevTellSession::init() {
  ownLogin.assign("");
  for (const ColourKey& c : kColours) defineColor(c.key, c.label, c.r, c.g, c.b);
  defineFont("normal", "Standard Font", "VT100", 10, 0);
  defineFont("timestamp", "Time stamp font", "Lucida Console", 7, 0);
  settings.reloadSetup();
  bitmaps.load(plugsModuleInstance());
  resetOwnState();
  char login[32] = "";
  if (sendRequest("@", login, sizeof login, "login", nullptr) != -1) {
    login[sizeof login - 1] = '\0';
    ownLogin.assign(login);
  }
}

void NevTellSession::term() {
  bitmaps.release();
  settings.writeSetup();
  deleteTabs();
}

// Called by the host, never from a tab's own handler: every tab goes at once.
void NevTellSession::deleteTabs() {
  deferred.runPending();
  tabs.forEach([](NevTellTab* tab) { delete tab; });
  tabs.clear();
}

void NevTellSession::createSetupWindow(HWND parent) { settings.create(parent); }
void NevTellSession::writeSetup() { settings.writeSetup(); }
void NevTellSession::reloadSetup() { settings.reloadSetup(); }
void NevTellSession::onSetupOpen() { settings.onSetupOpen(); }
void NevTellSession::onSetupClose() { settings.onSetupClose(); }

void NevTellSession::resetOwnState() {
  ownLogin.assign("");
  away = 0;
}

const char* NevTellSession::getOwnLogin() { return ownLogin.text(); }

NevTellTab* NevTellSession::getTab(const char* nick, bool create) {
  if (nick == nullptr || nick[0] == '\0') return nullptr;
  NevTellTab* tab = tabs.find(nick);
  if (tab != nullptr || !create) return tab;
  tab = new NevTellTab(this, nick);
  if (!tab->create()) {
    delete tab;
    return nullptr;
  }
  tabs.add(tab);
  return tab;
}

void NevTellSession::closeTab(const char* nick) {
  NevTellTab* tab = tabs.remove(nick);
  if (tab == nullptr) return;
  // The handler that asked may belong to one of the tab's windows.
  deferred.post([this, tab] { deleteClosed(tab); });
}

void NevTellSession::deleteClosed(NevTellTab* tab) {
  if (tab->isBusy())
    deferred.post([this, tab] { deleteClosed(tab); });
  else
    delete tab;
}

void NevTellSession::forEachTab(void (NevTellTab::*apply)()) {
  tabs.forEach([apply](NevTellTab* tab) { (tab->*apply)(); });
}

void NevTellSession::onUserEvent(const char*, const char* type, void* data) {
  if (type == nullptr || data == nullptr || !equalsNoCase(type, "query")) return;
  NevTellTab* tab = getTab(static_cast<const char*>(data), true);
  if (tab != nullptr) tab->printSystemLine("", "<Vornith> Query activated.\n", true, false);
}

int NevTellSession::onRequest(const char*, char*, int, const char*, void*) { return -1; }

void NevTellSession::onSystemEvent(int id, EventData* data) {
  if (id == 2) {
    resetOwnState();
    return;
  }
  if ((id != 6 && id != 7) || data == nullptr) return;
  if (id == 7) {
    if (equalsNoCase(orEmpty(data->getValue("Font")), "input"))
      forEachTab(&NevTellTab::applyInputFont);
    return;
  }
  const char* colour = orEmpty(data->getValue("Color"));
  if (equalsNoCase(colour, away ? "backaway" : "backgrnd"))
    forEachTab(&NevTellTab::applyOutputBackground);
  else if (equalsNoCase(colour, "backin"))
    forEachTab(&NevTellTab::applyInputBackground);
}
