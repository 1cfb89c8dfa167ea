#include "plugins/MineDuel/MineDuelWindow.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "plugins/MineDuel/MineDuelInput.h"
#include "plugins/MineDuel/MineDuelSession.h"
#include "plugins/NevStyle/KeyOwners.h"
#include "sdk/NoCase.h"

// Tells the window which of its panes a menu choice came from.
class MineDuelWindow::PaneMenu final : public OutputWindowOwner {
 public:
  PaneMenu(MineDuelWindow* window, StyledOutputWindow* pane) : window(window), pane(pane) {}
  void onOutputMenu(Menu&) override {}
  void onOutputCommand(int id) override { window->onPaneCommand(pane, id); }
  void onFilesDropped(const std::vector<std::string>&) override {}

 private:
  MineDuelWindow* window;
  StyledOutputWindow* pane;
};

namespace {

// Emoticons are always shown, the double ones included.
const unsigned char kOn = 1;
const int kF9 = VK_F1 + 8;

bool held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

MineDuelWindow::MineDuelWindow(MineDuelSession* session, const char* nick, HWND tab)
    : ExistWindow(tab), session(session), nick(nick != nullptr ? nick : ""), tab(tab) {
  container = new CompassContainer("Nev Container", false);
  nevLine = new Line("Nev Line", true);
  scoreHelpLine = new Line("NevVLine", false);
  input = new MineDuelInput(this);
  score = makePane("Output");
  chat = makePane("Output");
  help = makePane("Output");
  setClient(container);
  container->setRegion(nevLine, CompassContainer::Centre, -1, -1);
  container->setRegion(input, CompassContainer::South, -1, -1);
  nevLine->addChild(scoreHelpLine, 50);
  nevLine->addChild(chat, 50);
  scoreHelpLine->addChild(score, 40);
  scoreHelpLine->addChild(help, 60);
  StyledOutputWindow* panes[3] = {score, chat, help};
  for (int i = 0; i < 3; ++i) {
    menus[i] = new PaneMenu(this, panes[i]);
    panes[i]->setOwner(menus[i]);
    panes[i]->styled().setPendingNewline(false);
  }
  // The score and help panes are rewritten whole: their texts keep every line break.
  score->styled().bindFlags(&kOn, &kOn, &kOn);
  help->styled().bindFlags(&kOn, &kOn, &kOn);
  for (Window* window : {static_cast<Window*>(this), static_cast<Window*>(container),
                         static_cast<Window*>(score), static_cast<Window*>(chat),
                         static_cast<Window*>(help), static_cast<Window*>(input)})
    watchKeys(window);
  container->update();
  createGridFrame();
  printTable(kWelcomeTable);
}

MineDuelWindow::~MineDuelWindow() {
  KeyOwners<MineDuelWindow>::forget(this);
  if (gridFrame != nullptr) DestroyWindow(gridFrame);
  // Controls go before the lines and the container that hold them.
  delete score;
  delete chat;
  delete help;
  delete input;
  delete scoreHelpLine;
  delete nevLine;
  delete container;
  for (PaneMenu* menu : menus) delete menu;
}

StyledOutputWindow* MineDuelWindow::makePane(const char* name) {
  StyledOutputWindow* pane = new StyledOutputWindow(name, session);
  StyledOutput& styled = pane->styled();
  styled.setOwnerName("MineDuel");
  styled.bindFlags(nullptr, &kOn, &kOn);
  styled.sharePictures(&session->pictures());
  Menu& menu = pane->getMenu();
  menu.appendItem("Close", CloseItem);
  menu.appendSeparator();
  menu.appendItem("Copy", CopyItem);
  menu.appendItem("Paste", PasteItem);
  menu.appendSeparator();
  menu.appendItem("Beep", BeepItem);
  return pane;
}

bool MineDuelWindow::onMessage(const MSG& message) {
  if (message.hwnd == hwnd && message.message == GridMessage) {
    session->onGridMessage(this, static_cast<int>(message.wParam),
                           static_cast<int>(message.lParam));
    return true;
  }
  return ExistWindow::onMessage(message);
}

// The frame is a plain child of the tab outside the toolkit: a static control whose procedure
// is ours only for the grid's message.
void MineDuelWindow::createGridFrame() {
  gridFrame = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd, nullptr,
                              nullptr, nullptr);
  if (gridFrame == nullptr) return;
  LONG_PTR original = SetWindowLongPtrA(gridFrame, GWLP_WNDPROC,
                                        reinterpret_cast<LONG_PTR>(&MineDuelWindow::gridFrameProc));
  SetWindowLongPtrA(gridFrame, GWLP_USERDATA, original);
  RECT client{};
  GetClientRect(hwnd, &client);
  onSize(sizeType, client.right, client.bottom);
}

LRESULT CALLBACK MineDuelWindow::gridFrameProc(HWND frame, UINT msg, WPARAM wParam,
                                               LPARAM lParam) {
  if (msg == GridMessage) return PostMessageA(GetParent(frame), msg, wParam, lParam);
  auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(frame, GWLP_USERDATA));
  return original != nullptr ? CallWindowProcA(original, frame, msg, wParam, lParam)
                             : DefWindowProcA(frame, msg, wParam, lParam);
}

bool MineDuelWindow::onSize(int type, int width, int height) {
  sizeType = type;
  int room = std::max(0, width - MinPanesWidth);
  int frameWidth = std::min(gridMeasured ? gridWidth : room, room);
  int frameHeight = std::min(gridMeasured ? gridHeight : height, height);
  if (gridFrame != nullptr) MoveWindow(gridFrame, 0, 0, frameWidth, frameHeight, TRUE);
  int left = frameWidth > 0 ? frameWidth + GridGap : 0;
  if (firstChild != nullptr) firstChild->move(left, 0, std::max(0, width - left), height);
  return true;
}

void MineDuelWindow::placeBesideGrid() {
  gridMeasured = true;
  gridWidth = gridHeight = 0;
  for (HWND child = GetWindow(gridFrame, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    POINT corner{rect.right, rect.bottom};
    ScreenToClient(gridFrame, &corner);
    gridWidth = std::max(gridWidth, static_cast<int>(corner.x));
    gridHeight = std::max(gridHeight, static_cast<int>(corner.y));
  }
  RECT client{};
  GetClientRect(hwnd, &client);
  onSize(sizeType, client.right, client.bottom);
}

bool MineDuelWindow::isBusy() const {
  return score->isMenuOpen() || chat->isMenuOpen() || help->isMenuOpen();
}

void MineDuelWindow::updateScore(int myScore, int adversaryScore, int turn, int over,
                                 int mines) {
  score->clear();
  StyledOutput& styled = score->styled();
  styled.setPendingNewline(false);
  for (const ScoreLine& line : scoreLines(myScore, adversaryScore, turn, over, mines)) {
    score->setTextColour(line.colour);
    styled.print("%s", line.text.c_str());
  }
}

void MineDuelWindow::printTable(const HelpLine* table) {
  help->clear();
  StyledOutput& styled = help->styled();
  styled.setPendingNewline(false);
  for (const HelpLine* line = table; line->style != nullptr; ++line) {
    styled.setTextColor(line->style);
    styled.print("%s", line->text);
  }
  help->scrollToTop();
}

// An emote shows as one system line; anything else as "<nick> text".
void MineDuelWindow::showSaid(const std::string& who, const char* text, const char* nickColour) {
  chat->setBackgroundColour(session->getColor("backgrnd"));
  StyledOutput& styled = chat->styled();
  if (std::strncmp(text, "Emote ", 6) == 0) {
    std::string rest(text + 6);
    rest.erase(rest.find_last_not_of("\r\n") + 1);
    styled.setTextColor("system");
    styled.setTextFont("normal");
    styled.print("<Nev> *%s %s*\n", who.c_str(), rest.c_str());
    return;
  }
  styled.setTextFont("normal");
  styled.setTextColor("normal");
  styled.print("<");
  styled.setTextColor(nickColour);
  styled.print("%s", who.c_str());
  styled.setTextColor("normal");
  styled.print("> %s", text);
}

void MineDuelWindow::showOwnLine(const char* text) {
  std::string line = std::string(text != nullptr ? text : "") + "\n";
  showSaid(session->getMyNick(), line.c_str(), "yourtext");
}

// The partner's text keeps the line end it came with.
void MineDuelWindow::showPartnerLine(const char* text) {
  showSaid(nick, text != nullptr ? text : "", "normal");
  session->highlightSystemTab(tab, true);
}

void MineDuelWindow::showSystemLine(const char* text, bool highlight) {
  chat->setBackgroundColour(session->getColor("backgrnd"));
  StyledOutput& styled = chat->styled();
  styled.setTextColor("system");
  styled.setTextFont("normal");
  styled.print("%s", text != nullptr ? text : "");
  if (highlight) session->highlightSystemTab(tab, true);
}

void MineDuelWindow::focusInput() { input->setFocus(); }

bool MineDuelWindow::isTabSelected() { return session->isSystemTabSelected(tab); }

// Each line of the text is said on its own; an empty one (or a lone CR) says a blank.
void MineDuelWindow::sendLine(const char* text) {
  if (text == nullptr) return;
  std::string all(text);
  size_t start = 0;
  while (start < all.size() || start == 0) {
    size_t end = all.find('\n', start);
    if (end == std::string::npos) end = all.size();
    std::string line = all.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) line = " ";
    if (line[0] == '/') {
      runCommand(line.c_str() + 1);
    } else {
      showOwnLine(line.c_str());
      session->sendData("senddata %s VREQ MINEDUEL TELL %s\n", nick.c_str(), line.c_str());
    }
  }
}

void MineDuelWindow::runCommand(const char* command) {
  if (startsNoCase(command, "clear")) {
    chat->clear();
    chat->styled().setPendingNewline(false);
  } else if (startsNoCase(command, "beep")) {
    session->sendData("beep %s\n", nick.c_str());
  } else if (startsNoCase(command, "stop")) {
    session->endGame();
  } else if (startsNoCase(command, "help")) {
    printTable(kHelpTable);
  } else if (startsNoCase(command, "cmds")) {
    printTable(kCmdsTable);
  } else if (startsNoCase(command, "tips")) {
    printTable(kTipsTable);
  } else {
    printTable(kInvalidTable);
  }
}

void MineDuelWindow::onPaneCommand(StyledOutputWindow* pane, int id) {
  switch (id) {
    case CloseItem:
      session->endGame();
      return;
    case CopyItem:
      SendMessageA(pane->getHwnd(), WM_COPY, 0, 0);
      return;
    case PasteItem:
      SendMessageA(input->getHwnd(), WM_PASTE, 0, 0);
      return;
    case BeepItem:
      session->sendData("beep %s\n", nick.c_str());
      return;
    default:
      return;
  }
}

void MineDuelWindow::watchKeys(Window* window) {
  KeyOwners<MineDuelWindow>::watch(window, this, &MineDuelWindow::keyHook);
}

bool MineDuelWindow::keyHook(Window* window, const MSG& message) {
  MineDuelWindow* owner = KeyOwners<MineDuelWindow>::find(window, message);
  if (owner == nullptr) return false;
  if (message.message == WM_KEYDOWN) return owner->onKeyDown(static_cast<int>(message.wParam));
  if (window != owner->input && !held(VK_CONTROL) && !held(VK_SHIFT)) owner->focusInput();
  return false;
}

bool MineDuelWindow::onKeyDown(int key) {
  if (session->checkKeyPressed(key)) return true;
  if (key == kF9) {
    session->connect();
    return true;
  }
  return false;
}
