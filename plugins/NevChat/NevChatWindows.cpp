// The chat window of a session: the colour and font keys, the windows in the "NevChat" tab,
// the styled output, the topic, the layout and the keys every window of the session shares.
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "lib/CompassContainer.h"
#include "lib/ExistWindow.h"
#include "lib/RichEdit.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "plugins/NevChat/NicksWindow.h"
#include "plugins/NevChat/OutputSearch.h"
#include "plugins/NevStyle/StyledOutput.h"
#include "sdk/NoCase.h"
#include "sdk/PlugsModule.h"

namespace {

struct ColourKey {
  const char* key;
  const char* label;
  int r, g, b;
};

// Registration order matters: the first definition of a key wins for a client.
const ColourKey kColours[] = {
    {"backgrnd", "Background color", 238, 255, 238},
    {"backaway", "Background color when you're away", 221, 221, 221},
    {"backzone", "Background color of the nicks table", 238, 255, 238},
    {"backin", "Background color of the input zone", 255, 255, 255},
    {"backtopic", "Background color of the topic zone", 255, 255, 255},
    {"backselnck", "Background color of a selection in the nicks table", 192, 255, 255},
    {"vornith", "Vornith System color", 192, 0, 0},
    {"normal", "Standard Text color", 0, 0, 0},
    {"system", "System color", 192, 0, 0},
    {"timestamp", "Time stamp color", 96, 96, 96},
    {"separator", "Color of the separator ('----...')", 192, 0, 0},
    {"block", "Color of a data block (like a who...)", 0, 0, 192},
    {"emote", "Color of an emote message", 0, 0, 192},
    {"shout", "Color of a shout message", 192, 0, 0},
    {"yourtell", "Color of your tell message", 0, 64, 128},
    {"tell", "Color of a tell message for you", 0, 128, 0},
    {"topic", "Color of the text in the topic zone", 0, 0, 192},
    {"you", "Color of a server message start with 'You'", 192, 0, 0},
    {"yourtext", "Color of your text", 0, 0, 255},
    {"withyou", "Color of a text with your name inside", 128, 0, 0},
    {"comein", "Color of text when someone arrives", 0, 0, 192},
    {"channel", "Color of the system message when your channel changes", 255, 0, 0},
    {"leaves", "Color of the system message when somebody leaves the chat", 0, 0, 192},
    {"numeric", "Color of some numbers like in msg line", 255, 128, 0},
    {"walltime", "Color of some date (eg : wall line)", 255, 0, 0},
    {"wallnick", "Color of nicks display (eg : wall line)", 0, 0, 255},
    {"nclient", "Color of client in the nicks table", 255, 0, 0},
    {"nstatus", "Color of nicks' status in the nicks table", 0, 0, 255},
    {"nnick", "Color of nicks in the nicks table", 0, 0, 0},
    {"nother", "Color of nicks in the nicks table who are in another channel", 127, 127, 127},
    {"ntopic", "Color of topic in the topic zone", 0, 0, 0},
};

struct FontKey {
  const char* key;
  const char* label;
  const char* face;
  int size;
  int style;
};

const FontKey kFonts[] = {
    {"normal", "Standard Font", "VT100", 10, 0},
    {"fromyou", "Font of your 'standart' text", "VT100", 10, 0},
    {"withyou", "'With You' Font", "VT100", 10, 0},
    {"vornith", "System Font", "VT100", 10, 0},
    {"block", "Block Font (eg: who)", "Lucida Console", 7, 0},
    {"nicks", "Nicks Font", "Lucida Console", 8, 0},
    {"topic", "Topic Font", "Times New Roman", 10, 1},
    {"timestamp", "Time stamp font", "Lucida Console", 7, 0},
    {"input", "Input Font", "Times New Roman", 10, 0},
};

// Which session each of the session's windows belongs to, for the shared key handling.
std::vector<std::pair<Window*, NevChatSession*>>& keyOwners() {
  static std::vector<std::pair<Window*, NevChatSession*>> owners;
  return owners;
}

const int kF3 = VK_F1 + 2;
const int kF5 = VK_F1 + 4;
const int kF6 = VK_F1 + 5;
const int kF7 = VK_F1 + 6;
const int kF9 = VK_F1 + 8;

bool held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

void NevChatSession::defineStyles() {
  for (const ColourKey& c : kColours) defineColor(c.key, c.label, c.r, c.g, c.b);
  for (const FontKey& f : kFonts) defineFont(f.key, f.label, f.face, f.size, f.style);
}

void NevChatSession::buildWindows() {
  if (container != nullptr) return;
  tab = addSystemTab("NevChat");
  styled = new StyledOutput(this);
  if (finder == nullptr) finder = new OutputSearch;
  container = new CompassContainer("Main NevChat Container", false);
  output = new RichEdit("NevChat Output Window", 0);
  topicWindow = new RichEdit("NevChat Topic Window", RichEdit::NoVerticalScroll);
  topicFont = new Font("Lucida Console", 8);
  topicWindow->setFont(topicFont);
  input = new NevChatInputWindow();
  nicks = new NicksWindow();
  input->setSession(this);
  if (tab != nullptr) {
    tabWindow = new ExistWindow(tab);
    tabWindow->setClient(container);
    container->setRegion(output, CompassContainer::Centre, -1, 0);
    container->setRegion(input, CompassContainer::South, settings ? settings->inSize : 21, 3);
    container->setRegion(topicWindow, CompassContainer::North, settings ? settings->topicSize : 21,
                         1);
    container->setRegion(nicks, CompassContainer::East, settings ? settings->nicksSize : 110, 2);
  }
  nicks->attach(this, input);
  styled->setOutput(output, "Lucida Console", 8);
  styled->setTab(tab);
  styled->setTrimListener([this](int removed) { onOutputTrimmed(removed); });
  if (settings != nullptr)
    styled->bindFlags(&settings->withEmptyLine, &settings->displayEmoticons,
                      &settings->displayDoubleEmoticons);
  output->setAutoUrlDetect(true);
  setBackground(away ? "backaway" : "backgrnd");
  input->setBackgroundColour(getColor("backin"));
  nicks->setBackgroundColour(getColor("backzone"));
  topicWindow->setBackgroundColour(getColor("backtopic"));
  input->applyFont();
  applyLayout();
  styled->pictures().load(plugsModuleInstance());
  for (Window* window : {static_cast<Window*>(container), static_cast<Window*>(output),
                         static_cast<Window*>(topicWindow), static_cast<Window*>(nicks),
                         static_cast<Window*>(input)})
    watchKeys(window);
}

void NevChatSession::destroyWindows() {
  auto& owners = keyOwners();
  for (size_t i = owners.size(); i-- > 0;)
    if (owners[i].second == this) owners.erase(owners.begin() + static_cast<long>(i));
  // Controls go before the containers that hold them.
  delete input;
  delete nicks;
  delete topicWindow;
  delete output;
  delete container;
  delete tabWindow;
  input = nullptr;
  nicks = nullptr;
  topicWindow = nullptr;
  output = nullptr;
  container = nullptr;
  tabWindow = nullptr;
  if (topicFont != nullptr) topicFont->releaseOwner();
  topicFont = nullptr;
  delete styled;  // its pictures with it
  styled = nullptr;
  if (tab != nullptr) removeSystemTab(tab);
  tab = nullptr;
  delete finder;
  finder = nullptr;
}

NevChatSession* NevChatSession::setTextFont(const char* name) {
  if (styled != nullptr) styled->setTextFont(name);
  return this;
}

NevChatSession* NevChatSession::setTextColor(const char* name) {
  if (styled != nullptr) styled->setTextColor(name);
  return this;
}

NevChatSession* NevChatSession::printStyled(const char* format, ...) {
  if (styled == nullptr) return this;
  va_list args;
  va_start(args, format);
  styled->vprint(format, args);
  va_end(args);
  return this;
}

void NevChatSession::printText(const char* text) {
  if (styled != nullptr) styled->printText(text);
}

void NevChatSession::setBackground(const char* name) {
  if (output != nullptr) output->setBackgroundColour(getColor(name));
}

void NevChatSession::setTopic(const char* text) {
  if (topicWindow == nullptr) return;
  FontRecord record = getFont("topic");
  if (record.face != nullptr && record.face[0] != '\0') {
    topicFont->setFace(record.face);
    topicFont->setSize(record.size);
    topicFont->setStyle(record.style);
  }
  topicWindow->setBackgroundColour(getColor("backtopic"));
  topicWindow->setTextColour(getColor("ntopic"));
  char line[StyledOutput::BufferSize];
  std::snprintf(line, sizeof line, "%s", text != nullptr ? text : "");
  line[std::strcspn(line, "\n")] = '\0';
  line[std::strcspn(line, "\r")] = '\0';
  topicWindow->clear();
  topicWindow->appendText(line);
}

void NevChatSession::setChannel(const char* name) {
  if (name == nullptr) name = "";
  if (nicks != nullptr) {
    nicks->setChannel(name);
    if (settings != nullptr) nicks->setNickChannel(settings->login.text(), name);
  }
  char title[StyledOutput::BufferSize];
  std::snprintf(title, sizeof title, "%s (%s)", getClientName(), name);
  setSystemTabText(tab, title);
}

void NevChatSession::toggleNicks() {
  if (settings == nullptr) return;
  settings->showNicks = !settings->showNicks;
  applyLayout();
}

void NevChatSession::toggleTopic() {
  if (settings == nullptr) return;
  settings->showTopic = !settings->showTopic;
  applyLayout();
}

void NevChatSession::applyLayout() {
  if (container == nullptr || settings == nullptr) return;
  settings->showTopic ? container->showRegion(CompassContainer::North)
                      : container->hideRegion(CompassContainer::North);
  settings->showNicks ? container->showRegion(CompassContainer::East)
                      : container->hideRegion(CompassContainer::East);
  container->update();
}

void NevChatSession::onColorChanged(const char* name) {
  if (name == nullptr || output == nullptr) return;
  if ((equalsNoCase(name, "backgrnd") && !away) || (equalsNoCase(name, "backaway") && away)) {
    setBackground(name);
  } else if (equalsNoCase(name, "backin")) {
    input->setBackgroundColour(getColor(name));
  } else if (equalsNoCase(name, "backzone")) {
    nicks->setBackgroundColour(getColor(name));
  } else if (equalsNoCase(name, "backtopic")) {
    topicWindow->setBackgroundColour(getColor(name));
  } else if (equalsNoCase(name, "ntopic")) {
    onFontChanged("topic");
    return;
  } else if (equalsNoCase(name, "nclient") || equalsNoCase(name, "nstatus") ||
             equalsNoCase(name, "nnick") || equalsNoCase(name, "nother")) {
    nicks->redraw();
    return;
  } else {
    return;  // the other keys take effect on the next text
  }
  remarkSearchHit();
}

void NevChatSession::onFontChanged(const char* name) {
  if (name == nullptr || output == nullptr) return;
  if (equalsNoCase(name, "nicks")) {
    nicks->redraw();
  } else if (equalsNoCase(name, "topic")) {
    char text[StyledOutput::BufferSize];
    topicWindow->getText(text, sizeof text);
    setTopic(text);
  } else if (equalsNoCase(name, "input")) {
    input->applyFont();
  }
}

// A character typed with Shift (a capital, a sign) is meant for the input line as much as
// any other; only Ctrl keeps it where it is.
void NevChatSession::onCharTyped() {
  if (input == nullptr || held(VK_CONTROL)) return;
  input->setFocus();
}

void NevChatSession::watchKeys(Window* window) {
  keyOwners().push_back({window, this});
  window->setMessageHook(&NevChatSession::windowHook);
}

bool NevChatSession::windowHook(Window* window, const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_CHAR) return false;
  if (message.hwnd != window->getHwnd()) return false;
  for (const auto& owner : keyOwners()) {
    if (owner.first != window) continue;
    if (message.message == WM_KEYDOWN)
      return owner.second->onSessionKey(window, static_cast<int>(message.wParam));
    if (window != owner.second->input) owner.second->onCharTyped();
    return false;
  }
  return false;
}

bool NevChatSession::onSessionKey(Window* window, int key) {
  if (checkKeyPressed(key)) return true;
  switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
      if (window != output) output->setFocus();
      return false;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (window != input) input->setFocus();
      return false;
    case kF3: {
      String text(finder != nullptr ? finder->text() : "");
      search(text.text(), !held(VK_SHIFT));
      return true;
    }
    case kF5:
      requestWho();
      return true;
    case kF6:
      toggleNicks();
      return true;
    case kF7:
      toggleTopic();
      return true;
    case kF9:
      connect();
      return true;
    default:
      return false;
  }
}

RichEdit* NevChatSession::getOutput() { return output; }
RichEdit* NevChatSession::getTopicWindow() { return topicWindow; }
CompassContainer* NevChatSession::getContainer() { return container; }

int NevChatSession::outputLength() { return output != nullptr ? output->getTextLength() : 0; }

// Sizes the user dragged are the ones written.
void NevChatSession::keepRegionSizes() {
  if (container == nullptr || settings == nullptr) return;
  settings->inSize = container->regionSize(3);
  settings->topicSize = container->regionSize(1);
  settings->nicksSize = container->regionSize(2);
}
