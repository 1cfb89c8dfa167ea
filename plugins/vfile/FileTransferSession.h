// The file-transfer add-in's session for one client: offers files to other users, answers
// their offers (a bounded few wait for the user, one save dialog at a time), accepts and
// refusals, and owns every transfer and its thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plugins/vfile/AddressLookup.h"
#include "plugins/vfile/GuiHandOff.h"
#include "plugins/vfile/OfferQueue.h"
#include "plugins/vfile/SaveFolder.h"
#include "plugins/vfile/Transfer.h"
#include "sdk/PlugsAddinSession.h"

class FileTransferSession : public PlugsAddinSession, private GuiHandOff::Receiver {
 public:
  explicit FileTransferSession(const char* clientName);
  ~FileTransferSession() override;

  void init() override;
  void term() override;
  bool hasSetupWindow() override { return true; }
  int getBackupSizeNeeded() override { return 4; }
  void backup(void* buffer, int size) override;
  void onUserEvent(const char* fromPlug, const char* type, void* data) override;
  int onRequest(const char* fromPlug, char* answer, int answerSize, const char* request,
                void* argument) override;
  bool onEvent(int lineNo, const char* eventName, EventData* data,
               bool interceptedSoFar) override;

  // The outgoing transfers in the order offered, and the incoming ones.
  const std::vector<std::unique_ptr<Transfer>>& getTransfers() const { return transfers; }
  const std::vector<std::unique_ptr<Transfer>>& getIncoming() const { return incoming; }
  // How many peers' offers wait for the user's answer.
  size_t waitingOffers() const { return offers.size(); }

 private:
  void sendText(const std::string& text) override;
  void printText(const std::string& text) override;
  void noticeText(const std::string& text) override;
  void fileToSend(const std::string& nick, const std::string& path) override;
  void targetChosen(int key, const std::string& path) override;

  void startSend(const std::string& path, const std::string& nick);
  void onSendServer(const EventData& event);
  void onSend(const EventData& event);
  void onAcceptServer(const EventData& event);
  void onAccept(const EventData& event);
  void onRefuse(const EventData& event);
  // An accept counts only from the nick offered to, for its kind, before the thread runs.
  Transfer* findWaiting(const char* nick, int id, bool listening);
  void refuseOffer(const char* nick, int id, bool idKnown, const char* reason);
  // Lets a valid offer wait for the user's answer; false (and refused) when too many wait.
  bool queueOffer(IncomingOffer offer);
  void askNextOffer();
  void acceptOffer(const IncomingOffer& offer, const std::string& path);
  void keepIncoming(std::unique_ptr<Transfer> transfer);
  std::string ownAddress();
  void stopAll();

  std::unique_ptr<GuiHandOff> handOff;  // before the transfers, which use it to the end
  AddressLookup addressLookup;
  std::vector<std::unique_ptr<Transfer>> transfers;
  std::vector<std::unique_ptr<Transfer>> incoming;
  OfferQueue offers;
  SaveFolder saveFolder;
  int offerCounter = 0;
  bool connectMode = false;
};
