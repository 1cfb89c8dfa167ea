// Requests between two clients carried in the server's private data: answering "VREQ" and
// showing the "VACK" that come back.
#include <cstring>

#include "plugins/NevChat/NevChatRules.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "plugins/NevChat/NicksWindow.h"

namespace {

const char* kindLabel(char kind) {
  switch (kind) {
    case 'A':
      return "- Addins plugin ";
    case 'I':
      return "- In/Out plugin ";
    case 'M':
      return "- Main   plugin ";
    default:
      return "- Unknown plugin : ";
  }
}

}  // namespace

void NevChatSession::answerRequest(const char* nick, const char* data, const char* nevtime) {
  nick = orEmpty(nick);
  data = orEmpty(data);
  bool notices = settings->displayVReq != 0;
  if (notices) show("timestamp", "block", orEmpty(nevtime));
  look("vornith", "normal");
  if (!sendDataOk) {
    if (notices) printStyled("<Vornith> %s asks you informations...\n", nick);
    return;
  }
  const double version = getHostVersion();
  if (beginsWithNoCase(data, "FULLVERSION")) {
    if (notices) printStyled("<Vornith> %s asks for your client full version !\n", nick);
    sendFullVersion(nick);
  } else if (beginsWithNoCase(data, "VERSION")) {
    if (notices) printStyled("<Vornith> %s asks for your client's version !\n", nick);
    sendData("senddata %s VACK VERSION Vornith %.2f\n", nick, version);
  } else if (beginsWithNoCase(data, "PING")) {
    if (notices) printStyled("<Vornith> %s pings you !\n", nick);
    sendData("senddata %s VACK PONG\n", nick);
  } else if (!beginsWithNoCase(data, "AUTOPING") && notices) {
    printStyled("<Vornith> Unknown Request : %s", data);
  }
}

// START, one SUB line per plug-in of the client ("M:NevChat A:NevTell "), then END.
void NevChatSession::sendFullVersion(const char* nick) {
  sendData("senddata %s VACK FULLVERSION START Vornith %.2f\n", nick,
           static_cast<double>(getHostVersion()));
  const char* walk = orEmpty(getPlugsList());
  while (*walk != '\0') {
    char kind = *walk;
    const char* name = walk[1] == ':' ? walk + 2 : walk + 1;
    const char* end = strchr(name, ' ');
    int length = end != nullptr ? static_cast<int>(end - name) : static_cast<int>(strlen(name));
    pluginName.assign(name, length);
    sendData("senddata %s VACK FULLVERSION SUB ", nick);
    sendData("%s", kindLabel(kind));
    sendData("%s (%.2f)\n", pluginName.text(),
             static_cast<double>(getPlugVersion(pluginName.text())));
    walk = end != nullptr ? end + 1 : name + length;
  }
  sendData("senddata %s VACK FULLVERSION END\n", nick);
}

void NevChatSession::onAcknowledge(const char* nick, const char* data, const char* nevtime) {
  nick = orEmpty(nick);
  data = orEmpty(data);
  look("vornith", "normal");
  show("timestamp", "block", orEmpty(nevtime));
  look("vornith", "normal");
  if (beginsWithNoCase(data, "FULLVERSION")) {
    const char* part = textFrom(data, 12);
    if (beginsWithNoCase(part, "START")) {
      printStyled("<Vornith> %s is using %s", nick, textFrom(data, 18));
      printStyled("<Vornith> Full version informations :\n");
    } else if (beginsWithNoCase(part, "SUB")) {
      printStyled("<Vornith> %s", textFrom(data, 16));
    } else if (beginsWithNoCase(part, "END")) {
      printStyled("<Vornith> End of informations.\n");
    } else {
      printStyled("<Vornith> Error : unknown informations - %s", part);
    }
  } else if (beginsWithNoCase(data, "VERSION")) {
    printStyled("<Vornith> %s is using %s", nick, textFrom(data, 8));
  } else if (beginsWithNoCase(data, "PONG")) {
    uint32_t sent = nicks != nullptr ? nicks->pingTime(nick) : 0;
    uint32_t elapsed = GetTickCount() - sent;  // unsigned: right across the counter's wrap
    printStyled("<Vornith> Ping : %s ! (%.2fs)\n", nick, elapsed * 0.001);
  } else {
    printStyled("<Vornith> Unknown Ack : %s", data);
  }
}
