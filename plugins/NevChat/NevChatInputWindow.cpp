// Placeholder until the input line lands.
#include "plugins/NevChat/NevChatInputWindow.h"

NevChatInputWindow::NevChatInputWindow() : HistoryEditEx("NevChat Input Window") {}
NevChatInputWindow::~NevChatInputWindow() {}
void NevChatInputWindow::setSession(NevChatSession*) {}
void NevChatInputWindow::applyFont() {}
void NevChatInputWindow::setNickWords(const char*) {}
void NevChatInputWindow::captureNext(String*) {}
void NevChatInputWindow::runCommand(const char*) {}
bool NevChatInputWindow::onEnter() { return true; }
