#include "plugins/vaware/VawareSession.h"

#include <cstring>

#include "plugins/SettingsForm/SettingsFormBinding.h"
#include "plugins/vaware/AlertRules.h"
#include "sdk/NoCase.h"
#include "sdk/PlugsModule.h"

namespace {

const char* const kFontKey = "vaware font";
const unsigned kBaseDelayMs = 1000;
const DWORD kSoundFlags = SND_FILENAME | SND_NOSTOP | SND_NODEFAULT | SND_ASYNC;
const int kLoginSize = 256;  // any login fits

bool sameClientSize(HWND a, HWND b) {
  RECT ra{}, rb{};
  if (!a || !b || !GetClientRect(a, &ra) || !GetClientRect(b, &rb)) return false;
  return ra.right - ra.left == rb.right - rb.left && ra.bottom - ra.top == rb.bottom - rb.top;
}

}  // namespace

VawareSession::VawareSession(const char* clientName)
    : PlugsAddinSession(clientName), store_(*this) {}

void VawareSession::init() {
  options_.read(store_);
  LoadLibraryA("riched32.dll");
  defineFont(kFontKey, "vaware message", "arial", 10, 0);
  // The plug-in's own module carries the pop-up, wherever the plug-ins folder is.
  popup_.create(plugsModuleInstance(), getSystemWindow());
}

// The pop-up's procedure lives in this module, which may be unloaded right after.
void VawareSession::term() {
  options_.write(store_);
  popup_.destroy();
}

void VawareSession::writeSetup() { options_.write(store_); }

void VawareSession::reloadSetup() { options_.read(store_); }

void VawareSession::createSetupWindow(HWND parent) {
  setupForm_ = SettingsFormBinding::createForm(parent);
}

void VawareSession::onSetupOpen() { SettingsFormBinding::push(setupForm_, options_); }

void VawareSession::onSetupClose() { SettingsFormBinding::pull(setupForm_, options_); }

void VawareSession::backup(void* buffer, int size) {
  if (buffer == nullptr || size != 4) return;
  float version = 0.1f;
  std::memcpy(buffer, &version, sizeof version);
}

void VawareSession::onUserEvent(const char* fromPlug, const char* type, void* data) {
  if (type != nullptr && equalsNoCase(type, "sysout")) return;
  setSystemColor(255, 0, 0);
  printSystem("%s : ", fromPlug ? fromPlug : "");
  setSystemColor(0, 0, 0);
  printSystem("%s\n", data ? static_cast<const char*>(data) : "");
}

int VawareSession::onRequest(const char*, char* answer, int answerSize, const char* request,
                             void* argument) {
  if (request == nullptr || argument == nullptr || !equalsNoCase(request, "sentence")) return -1;
  const char* asked = static_cast<const char*>(argument);
  const char* text = nullptr;
  if (equalsNoCase(asked, "I want the first sentence")) text = "This is the first sentence !";
  if (equalsNoCase(asked, "I want the second sentence")) text = "This is the second sentence !";
  if (text == nullptr || answer == nullptr || answerSize <= 0) return -1;
  size_t length = std::strlen(text);
  if (length > static_cast<size_t>(answerSize - 1)) length = static_cast<size_t>(answerSize - 1);
  std::memcpy(answer, text, length);
  answer[length] = '\0';
  return static_cast<int>(length);
}

// An unanswered request means no login: then nobody is the user.
bool VawareSession::isOwnNick(const char* nick) {
  char login[kLoginSize] = {};
  if (sendRequest("@", login, sizeof login, "login", nullptr) == -1) login[0] = '\0';
  login[kLoginSize - 1] = '\0';
  return login[0] != '\0' && nick != nullptr && equalsNoCase(nick, login);
}

bool VawareSession::onEvent(int, const char* eventName, EventData* data, bool) {
  if (data == nullptr) return false;
  switch (AlertRules::kindOf(eventName)) {
    case AlertRules::TellEvent:
      if (!isOwnNick(data->getValue("nick")))
        showAlert(data->getText(), kBaseDelayMs, options_.getString("OnTellFilename"));
      break;
    case AlertRules::WordEvent:
      onWordLine(*data);
      break;
    default:
      break;
  }
  return false;
}

void VawareSession::onWordLine(const EventData& data) {
  const char* text = data.getValue("text");
  const char* nick = data.getValue("nick");
  if (text == nullptr || nick == nullptr || isOwnNick(nick)) return;
  for (const std::string& word : options_.words()) {
    if (!containsWord(text, word.c_str())) continue;
    showAlert(data.getText(), kBaseDelayMs, options_.getString("OnWordFilename"));
    return;
  }
}

bool VawareSession::containsWord(const char* text, const char* word) {
  return AlertRules::containsWord(text, word, options_.getBool("WordOnly"));
}

// The window in front may be another program's (a film, a game): its size is read as well.
bool VawareSession::isFullScreen() const {
  return sameClientSize(GetForegroundWindow(), GetDesktopWindow());
}

void VawareSession::showAlert(const char* text, unsigned baseDelayMs, const char* soundFile) {
  bool popupWanted = !options_.getBool("SoundOnly") &&
                     !(options_.getBool("DisabledWhenFullscreen") && isFullScreen());
  if (popupWanted) {
    RECT area{0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    HWND host = getSystemWindow();
    if (host != nullptr && host == GetForegroundWindow()) return;  // the user is looking
    if (popup_.exists()) {
      std::string line = AlertRules::firstLine(text);
      popup_.show(line, getFont(kFontKey), area, options_.getInt("Position"),
                  AlertRules::hideDelayMs(baseDelayMs, line.size()));
    }
  }
  if (soundFile != nullptr && !options_.getBool("NoSound"))
    PlaySoundA(soundFile, nullptr, kSoundFlags);
}
