#include "plugins/NevChat/NevChatInputWindow.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "sdk/NoCase.h"

namespace {

// The text trimmed of blanks at both ends.
String trimmedCopy(const char* text) {
  String copy(text);
  copy.trim(0).trim(1);
  return copy;
}

// A login name: not empty, letters and digits only (so no blank either).
bool isName(const String& name) {
  if (name.length() == 0) return false;
  for (const char* c = name.text(); *c; ++c)
    if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
  return true;
}

}  // namespace

NevChatInputWindow::NevChatInputWindow() : HistoryEditEx("NevChat Input Window") {}

NevChatInputWindow::~NevChatInputWindow() = default;

void NevChatInputWindow::setSession(NevChatSession* owner) { session = owner; }

void NevChatInputWindow::applyFont() { font.apply(session, hwnd); }

void NevChatInputWindow::setNickWords(const char* text) {
  unsorted.assign(text != nullptr ? text : "");
  sorted = false;
}

void NevChatInputWindow::addNickWord(const char* nick) {
  if (nick == nullptr || nick[0] == '\0') return;
  if (!unsorted.empty()) unsorted += ' ';
  unsorted += nick;
  sorted = false;
}

void NevChatInputWindow::sortWords() {
  if (sorted) return;
  sorted = true;
  words.assign(unsorted.c_str());
  words.sortWords(' ').trim(0);
  setWordList(words.text(), false);
}

const char* NevChatInputWindow::nickWords() {
  sortWords();
  return words.text();
}

void NevChatInputWindow::complete() {
  sortWords();
  HistoryEditEx::complete();
}

void NevChatInputWindow::captureNext(String* target) { capture = target; }

bool NevChatInputWindow::onEnter() {
  browsing = 0;
  readLine();
  String line(typed.text());
  bool sending = session != nullptr && line.length() > 0 && session->isInputEnabled();
  // A captured line may be the password: it is not kept where Up would show it again.
  if (!(sending && capture != nullptr) && line.length() > 0) history.add(line.text());
  SimpleEdit::onEnter();
  if (sending) {
    if (capture != nullptr) {
      capture->assign(line.text());
      capture = nullptr;
    }
    if (line.text()[0] == '/')
      runCommand(line.text());
    else
      session->sendData("%s\n", line.text());
  }
  applyFont();
  return true;
}

void NevChatInputWindow::print(const char* format, ...) {
  char text[4096];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  session->setTextColor("vornith")->setTextFont("vornith")->printStyled("%s", text);
}

void NevChatInputWindow::syntaxError(const char* command, const char* syntax) {
  print("<Vornith> Syntax Error :\n");
  print("<Vornith> - Command detected : '%s'\n", command);
  print("<Vornith> - Syntaxe : '%s'\n", syntax);
}

void NevChatInputWindow::runMine(const char* rest) {
  static const char* const kMineSyntax = "/mine [ok|no|cancel|forcereset|start <login_name>]";
  if (rest == nullptr) {
    syntaxError("mine", kMineSyntax);
    return;
  }
  if (startsNoCase(rest, "start ")) {
    String name = trimmedCopy(rest + 6);
    if (!isName(name)) {
      syntaxError("mine", "/mine start <login_name>");
      return;
    }
    session->sendEvent("MineDuel", "start", name.buffer());
    return;
  }
  struct Word {
    const char* word;
    const char* event;
  };
  static const Word kWords[] = {
      {"ok", "accept"}, {"no", "deny"}, {"cancel", "cancel"}, {"forcereset", "forcereset"}};
  for (const Word& word : kWords) {
    if (startsNoCase(rest, word.word)) {
      session->sendEvent("MineDuel", word.event, nullptr);
      return;
    }
  }
  syntaxError("mine", kMineSyntax);
}

void NevChatInputWindow::runCommand(const char* line) {
  if (session == nullptr || line == nullptr) return;
  if (startsNoCase(line, "/login ")) {
    String name = trimmedCopy(line + 7);
    if (!isName(name)) {
      syntaxError("login", "/login <login_name>");
      return;
    }
    session->getSettings().login.assign(name.text());
    print("<Vornith > New login : '%s'\n", name.text());
  } else if (startsNoCase(line, "/mine ")) {
    runMine(line + 6);
  } else if (equalsNoCase(line, "/mine")) {
    runMine(nullptr);
  } else if (startsNoCase(line, "/search ")) {
    session->search(line + 8, true);
  } else if (startsNoCase(line, "/rsearch ")) {
    session->search(line + 9, false);
  } else if (equalsNoCase(line, "/search")) {
    session->search(nullptr, true);
  } else {
    print("<Vornith> Unknown command line: %s\n", line);
  }
}
