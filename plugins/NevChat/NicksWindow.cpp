// Placeholder until the nick list lands.
#include "plugins/NevChat/NicksWindow.h"

NicksWindow::NicksWindow() : RichEdit("Nicks Window", 0) {}
NicksWindow::~NicksWindow() {}
void NicksWindow::attach(NevChatSession*, NevChatInputWindow*) {}
void NicksWindow::enableRequests(bool) {}
void NicksWindow::addNick(const char*) {}
void NicksWindow::removeNick(const char*) {}
void NicksWindow::setStatus(const char*, char) {}
void NicksWindow::setNickChannel(const char*, const char*) {}
bool NicksWindow::contains(const char*) { return false; }
uint32_t NicksWindow::pingTime(const char*) { return 0; }
void NicksWindow::setPingTime(const char*, uint32_t) {}
void NicksWindow::setChannel(const char*) {}
const char* NicksWindow::channel() { return "Hall"; }
void NicksWindow::beginWho() {}
void NicksWindow::whoLine(const char*, char, char, const char*) {}
void NicksWindow::endWho() {}
void NicksWindow::redraw() {}
void NicksWindow::drawEntry(NickEntry*) {}
void NicksWindow::mark(POINT) {}
void NicksWindow::unmark() {}
void NicksWindow::query(const char*) {}
