#include "plugins/NevChat/NicksWindow.h"

#include <cstring>
#include <string>

#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NevChatSession.h"
#include "sdk/NoCase.h"

namespace {

// The mark goes when the mouse leaves the list.
void watchMouseLeave(HWND hwnd) {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = hwnd;
  TrackMouseEvent(&track);
}

void hideCaretOf(HWND hwnd) { HideCaret(hwnd); }

}  // namespace

namespace {

char* copyOf(const char* text) {
  if (text == nullptr) text = "";
  size_t length = std::strlen(text);
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return copy;
}

NickEntry* makeEntry(const char* nick, char client, char status, const char* channel) {
  NickEntry* entry = new NickEntry;
  entry->nick = copyOf(nick);
  entry->channel = copyOf(channel);
  entry->client = client;
  entry->status = status;
  return entry;
}

// The plug-in each menu item hands its nick to.
struct PlugItem {
  int id;
  const char* plug;
};
const PlugItem kPlugItems[] = {{NicksWindow::SendFileItem, "vfile"},
                               {NicksWindow::ListenItem, "vaware"},
                               {NicksWindow::WhiteBoardItem, "v2draw"},
                               {NicksWindow::MineDuelItem, "MineDuel"}};

}  // namespace

NicksWindow::NicksWindow() : RichEdit("Nicks Window", 0), current("Hall") {
  nicksFont = new Font("Lucida Console", 8);
  setFont(nicksFont);
}

NicksWindow::~NicksWindow() {
  while (head != nullptr) {
    NickEntry* next = head->next;
    deleteEntry(head);
    head = next;
  }
  if (menu != nullptr) menu->release();
  nicksFont->releaseOwner();
}

void NicksWindow::deleteEntry(NickEntry* entry) {
  delete[] entry->nick;
  delete[] entry->channel;
  delete entry;
}

void NicksWindow::create() {
  RichEdit::create();
  SendMessageA(hwnd, EM_SETEVENTMASK, 0, 0);
}

void NicksWindow::attach(NevChatSession* owner, NevChatInputWindow* line) {
  session = owner;
  input = line;
  if (menu == nullptr) {
    menu = (new Menu(false))->addRef();
    menu->appendItem("Query", QueryItem);
    menu->appendSeparator();
    menu->appendItem("Ping", PingItem);
    menu->appendItem("Version", VersionItem);
    menu->appendItem("Full Version", FullVersionItem);
    menu->appendSeparator();
    menu->appendItem("Send File...", SendFileItem);
    menu->appendItem("Listen", ListenItem);
    menu->appendItem("Open white board", WhiteBoardItem);
    menu->appendSeparator();
    menu->appendItem("Play MineDuel", MineDuelItem);
    menu->appendSeparator();
    menu->appendItem("Beep", BeepItem);
    menu->appendItem("Finger", FingerItem);
    menu->appendItem("Invite", InviteItem);
    menu->appendItem("Bump", BumpItem);
    menu->appendItem("Kick", KickItem);
  }
  enableRequests(false);
  enablePlugItems();
  if (hwnd != nullptr && session != nullptr) DragAcceptFiles(hwnd, session->hasPlug("vfile"));
}

void NicksWindow::enableRequests(bool on) {
  if (menu == nullptr) return;
  for (int id : {PingItem, VersionItem, FullVersionItem}) on ? menu->enable(id) : menu->disable(id);
}

void NicksWindow::enablePlugItems() {
  if (menu == nullptr) return;
  for (const PlugItem& item : kPlugItems) {
    bool loaded = session != nullptr && session->hasPlug(item.plug);
    loaded ? menu->enable(item.id) : menu->disable(item.id);
  }
}

NickEntry* NicksWindow::find(const char* nick) {
  if (nick == nullptr) return nullptr;
  for (NickEntry* entry = head; entry != nullptr; entry = entry->next)
    if (equalsNoCase(entry->nick, nick)) return entry;
  return nullptr;
}

NickEntry* NicksWindow::entryAt(int line) {
  NickEntry* entry = head;
  for (int i = 0; entry != nullptr && i < line; ++i) entry = entry->next;
  return line < 0 ? nullptr : entry;
}

void NicksWindow::addNick(const char* nick) {
  // Arrivals come in floods: the end is remembered rather than walked to each time.
  NickEntry** link = tail != nullptr ? &tail->next : &head;
  while (*link != nullptr) link = &(*link)->next;
  *link = makeEntry(nick, '?', '?', "Hall");
  tail = *link;
  drawEntry(*link);
  // An arrival adds its word only: rebuilding the whole list made each one cost the list's size.
  if (!words.empty()) words += ' ';
  words += (*link)->nick;
  if (input != nullptr) input->addNickWord((*link)->nick);
}

void NicksWindow::removeNick(const char* nick) {
  NickEntry** link = &head;
  while (*link != nullptr && !equalsNoCase((*link)->nick, nick != nullptr ? nick : "")) {
    link = &(*link)->next;
  }
  NickEntry* gone = *link;
  if (gone == nullptr) return;
  // A who listing in progress keeps its place.
  if (cursor == &gone->next) cursor = link;
  *link = gone->next;
  tail = nullptr;
  deleteEntry(gone);
  redraw();
}

void NicksWindow::setStatus(const char* nick, char status) {
  NickEntry* entry = find(nick);
  if (entry == nullptr) return;
  entry->status = status;
  redraw();
}

void NicksWindow::setNickChannel(const char* nick, const char* channel) {
  NickEntry* entry = find(nick);
  if (entry == nullptr) return;
  delete[] entry->channel;
  entry->channel = copyOf(channel);
  redraw();
}

bool NicksWindow::contains(const char* nick) { return find(nick) != nullptr; }

uint32_t NicksWindow::pingTime(const char* nick) {
  NickEntry* entry = find(nick);
  return entry != nullptr ? entry->pingTime : 0;
}

void NicksWindow::setPingTime(const char* nick, uint32_t time) {
  NickEntry* entry = find(nick);
  if (entry != nullptr) entry->pingTime = time;
}

void NicksWindow::setChannel(const char* name) {
  current.assign(name != nullptr ? name : "");
  redraw();
}

const char* NicksWindow::channel() { return current.text(); }

void NicksWindow::beginWho() { cursor = &head; }

void NicksWindow::whoLine(const char* nick, char client, char status, const char* channel) {
  if (cursor == nullptr || nick == nullptr) return;
  NickEntry* entry = *cursor;
  if (entry == nullptr || !equalsNoCase(entry->nick, nick)) {
    NickEntry* added = makeEntry(nick, client, status, channel);
    added->next = entry;
    *cursor = added;
    tail = nullptr;
    entry = added;
  } else {
    entry->client = client;
    entry->status = status;
    if (channel != nullptr && std::strcmp(entry->channel, channel) != 0) {
      delete[] entry->channel;
      entry->channel = copyOf(channel);
    }
  }
  cursor = &entry->next;
}

void NicksWindow::endWho() {
  if (cursor == nullptr) return;
  tail = nullptr;
  while (*cursor != nullptr) {
    NickEntry* gone = *cursor;
    *cursor = gone->next;
    deleteEntry(gone);
  }
  cursor = nullptr;
  redraw();
}

void NicksWindow::redraw() {
  marked = -1;
  markedNick = nullptr;
  if (hwnd != nullptr) clear();
  for (NickEntry* entry = head; entry != nullptr; entry = entry->next) drawEntry(entry);
  refreshWords();
}

void NicksWindow::refreshWords() {
  words.clear();
  for (NickEntry* entry = head; entry != nullptr; entry = entry->next) {
    if (entry != head) words += ' ';
    words += entry->nick;
  }
  if (input != nullptr) input->setNickWords(words.c_str());
}

COLORREF NicksWindow::colour(const char* key) {
  return session != nullptr ? session->getColor(key) : 0;
}

void NicksWindow::drawEntry(NickEntry* entry) {
  if (entry == nullptr || hwnd == nullptr) return;
  if (session != nullptr) {
    FontRecord record = session->getFont("nicks");
    if (record.face != nullptr && record.face[0] != '\0') {
      nicksFont->setFace(record.face);
      nicksFont->setSize(record.size);
      nicksFont->setStyle(record.style);
    }
  }
  setBackgroundColour(colour("backzone"));
  char sign[2] = {entry->client, '\0'};
  setTextColour(colour("nclient"));
  appendText(sign);
  // The status and the blank after it share a colour: one append for both.
  char status[3] = {entry->status, ' ', '\0'};
  setTextColour(colour("nstatus"));
  appendText(entry->status != '\0' ? status : status + 1);
  bool here = equalsNoCase(entry->channel, current.text());
  setTextColour(colour(here ? "nnick" : "nother"));
  String line(entry->nick);
  line.append("\n");
  appendText(line.text());
}

void NicksWindow::mark(POINT point) {
  if (hwnd == nullptr) return;
  int line = lineAt(point.x, point.y);
  NickEntry* entry = entryAt(line);
  if (entry == nullptr) {
    unmark();
    return;
  }
  if (line == marked) return;
  unmark();
  int start = static_cast<int>(SendMessageA(hwnd, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  int length = static_cast<int>(SendMessageA(hwnd, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
  setRangeBackground(start, length, colour("backselnck"));
  hideCaretOf(hwnd);
  watchMouseLeave(hwnd);
  marked = line;
  markedNick = entry;
}

void NicksWindow::unmark() {
  if (marked >= 0 && hwnd != nullptr) {
    int start = static_cast<int>(SendMessageA(hwnd, EM_LINEINDEX, static_cast<WPARAM>(marked), 0));
    int length = static_cast<int>(SendMessageA(hwnd, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    if (start >= 0) clearRangeBackground(start, length);
  }
  marked = -1;
  markedNick = nullptr;
}

void NicksWindow::query(const char* nick) {
  if (session == nullptr || nick == nullptr || !session->hasPlug("NevTell")) return;
  session->sendEvent("NevTell", "query", const_cast<char*>(nick));
}

bool NicksWindow::onMessage(const MSG& message) {
  if (message.hwnd == hwnd && message.message == WM_MOUSELEAVE) {
    unmark();
    return true;
  }
  if (message.hwnd == hwnd && message.message == WM_DROPFILES) {
    // Files dropped on a nick only mark it; handing them on is left to the transfer add-in.
    HDROP drop = reinterpret_cast<HDROP>(message.wParam);
    POINT point = {0, 0};
    DragQueryPoint(drop, &point);
    mark(point);
    DragFinish(drop);
    return true;
  }
  return RichEdit::onMessage(message);
}

bool NicksWindow::onMouseMove(int buttons, int x, int y) {
  if (buttons == 0) mark(POINT{x, y});
  return false;
}

bool NicksWindow::onMouseButton(int buttons, int x, int y, bool down) {
  if (!down) return false;
  unmark();
  if (!(buttons & 2)) return false;
  mark(POINT{x, y});
  if (markedNick != nullptr && menu != nullptr) {
    menuNick.assign(markedNick->nick);
    enablePlugItems();
    menu->popup(this, x, y);
  }
  return true;
}

bool NicksWindow::onDoubleClick(int buttons, int x, int y) {
  if (!(buttons & 1)) return false;
  mark(POINT{x, y});
  if (markedNick != nullptr) query(markedNick->nick);
  return true;
}

bool NicksWindow::onCommand(int id) {
  // The mouse may have left the list while the menu was open: the nick is the one it opened on.
  String nick(menuNick);
  if (nick.length() == 0 && markedNick != nullptr) nick.assign(markedNick->nick);
  if (nick.length() > 0) runCommand(id, nick.text());
  menuNick.assign("");
  unmark();
  return true;
}

void NicksWindow::runCommand(int id, const char* nick) {
  if (session == nullptr) return;
  static const char* const requests[] = {"PING", "VERSION", "FULLVERSION"};
  static const char* const lines[] = {"beep ", "finger ", "invite ", "bump ", "kick "};
  switch (id) {
    case QueryItem:
      query(nick);
      return;
    case PingItem:
    case VersionItem:
    case FullVersionItem:
      if (!session->isSendDataOk()) return;
      if (id == PingItem) setPingTime(nick, GetTickCount());
      session->sendData("senddata %s VREQ %s\n", nick, requests[id - PingItem]);
      return;
    case ListenItem:
      return;  // sending the bare nick would post it in the channel
    case SendFileItem:
    case WhiteBoardItem:
    case MineDuelItem:
      for (const PlugItem& item : kPlugItems) {
        if (item.id != id || !session->hasPlug(item.plug)) continue;
        const char* type = id == SendFileItem     ? "sendfile"
                           : id == WhiteBoardItem ? "begindraw"
                                                  : "start";
        session->sendEvent(item.plug, type, const_cast<char*>(nick));
      }
      return;
    default:
      if (id >= BeepItem && id <= KickItem) session->sendData("%s%s\n", lines[id - BeepItem], nick);
  }
}
