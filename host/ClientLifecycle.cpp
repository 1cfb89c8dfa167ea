// A client's construction and destruction, its init and term steps, and the reading and
// writing of its configuration in its section of Vornith.ini.
#include "host/Client.h"
#include "host/ColorSetting.h"
#include "host/Console.h"
#include "host/EventsFile.h"
#include "host/FontSetting.h"
#include "host/Host.h"
#include "host/PlugsListDialog.h"
#include "host/SessionCall.h"
#include "host/SetupWindow.h"
#include "host/SystemSettings.h"
#include "host/SystemWindow.h"
#include "host/TextFormat.h"
#include "lib/TextCopy.h"

namespace {

const char* const DefaultEventsDirectory = ".\\Events";
const int EventsFileNameSize = 512;
const int ReceiveThreadStack = 1024;
const int LogBufferSize = 1024;
const int AutoconnectItem = 2;  // of the popup menu, from the first command id

const char* logFileName(const char* sectionName) {
  return formatStatic(".\\%s.log", sectionName ? sectionName : "(null)");
}

}  // namespace

Client::Client(const char* sectionName)
    : plugsIni(".\\Plugs.ini"),
      hostIni(".\\Vornith.ini"),
      connection(systemWindow ? systemWindow->getHwnd() : nullptr),
      setupWindow(new SetupWindow("Client's setup window")),
      log(logFileName(sectionName), LogBufferSize) {
  log.printf("Creation of %s in hand.\n", sectionName ? sectionName : "(null)");
  name = copyText(sectionName);
  hostIni.setSection(name);
  plugsIni.setSection(name);
  connection.setClientName(name);
  connection.setOwner(this, serverList);
  setupWindow->setOwner(this);
  mainRecord = SessionRecord();
  plugsListText.assign("");
  createSessions();
  // Its window is made when first shown.
  plugsListDialog = new PlugsListDialog(name);
  buildMenu();
  log.printf("Client Created.\n");
}

Client::~Client() {
  dropBacklog();
  // The server view goes with the setup pages, before the connection that fills it.
  connection.setOwner(this, nullptr);
  if (systemWindow && name) systemWindow->removeMenu(name);
  delete[] name;
  name = nullptr;
  deleteSettings();
  log.printf("Client destroyed.\n");
  log.open(nullptr);  // closes the file
  // The remaining members, newest first.
  delete plugsListDialog;
  plugsListDialog = nullptr;
  freeRecords(inOuts);
  freeRecords(addins);
  delete setupWindow;
  setupWindow = nullptr;
}

void Client::freeRecords(List<SessionRecord*>& records) {
  while (!records.isEmpty()) {
    delete records.frontValue(true);
    records.removeEnd(true);
  }
}

void Client::init() {
  log.beginSection("Init step:\n");
  initSessions();
  setupInit();
  readConfig();
  if (autoconnect) connection.connect();
  connection.create(ReceiveThreadStack);
  connection.resume();
  log.endSection("Done.\n");
}

void Client::stopReceiving() { connection.askToStop(); }

void Client::term() {
  log.beginSection("Term step:\n");
  dropBacklog();
  if (connection.isConnected()) connection.disconnect();
  // Stops and joins the receive thread, even one still blocked in a connect.
  connection.term();
  writeConfig();
  setupTerm();
  deleteSessions();
  log.endSection("Done.\n");
}

void Client::readConfig() {
  log.printf("Read the config file.\n");
  autoconnect = hostIni.getBool("Autoconnect", false);
  popupMenu.check(firstCommandId + AutoconnectItem, autoconnect);
  char fileName[EventsFileNameSize] = {};
  hostIni.getString("RegExpr", fileName, sizeof fileName, "");
  eventsFile.assign(fileName);
  setSystemColorRgb(64, 64, 64);
  if (fileName[0]) {
    const char* directory =
        systemSettings ? systemSettings->eventsDirectory : DefaultEventsDirectory;
    eventsFile.assign(formatText("%s\\%s", directory, fileName));
    printSystem(". Events file : %s\n", eventsFile.text());
    loadEventsFile(events, eventsFile.text());
  } else {
    printSystem(". No events files.\n");
  }
  connection.loadServers();
}

void Client::writeConfig() {
  log.printf("Write the config file.\n");
  hostIni.writeBool("Autoconnect", autoconnect);
  connection.saveServers();
  if (mainRecord.plug) hostIni.writeString("Main", mainRecord.plug->name);
  writeRecordNames("Addins", addins);
  writeRecordNames("Inout", inOuts);
}

// The names of every record, loaded or not, in list order, joined by one blank.
void Client::writeRecordNames(const char* key, List<SessionRecord*>& records) {
  String names;
  for (ListNode<SessionRecord*>* node = records.headNode(); node; node = node->next) {
    if (!node->value || !node->value->plug) continue;
    if (names.length() > 0) names.append(" ");
    names.append(node->value->plug->name);
  }
  hostIni.writeString(key, names.text());
}

void Client::reloadPlugsSetup() {
  log.printf("Reload the setup of the plugins.\n");
  callSetupOfSessions("reloadSetup", &PlugsObject::reloadSetup);
}

void Client::writePlugsSetup() {
  log.printf("Write the setup of the plugins.\n");
  callSetupOfSessions("writeSetup", &PlugsObject::writeSetup);
}

void Client::callSetupOfSessions(const char* method, void (PlugsObject::*operation)()) {
  auto call = [&](SessionRecord* record) {
    PlugsObject* session = record->session;
    callSession(record->plug, method, true, [&] { (session->*operation)(); });
  };
  if (mainRecord.session) call(&mainRecord);
  forEachSession(addins, false, call);
  forEachSession(inOuts, false, call);
}
