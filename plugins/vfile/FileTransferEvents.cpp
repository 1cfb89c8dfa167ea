// The five events of the peer's control lines. Every field from the peer is read strictly; an
// offer that fails a check is refused, an accept that fails one is treated as unknown.
#include <cstring>

#include "plugins/vfile/FileTransferSession.h"
#include "plugins/vfile/TransferNames.h"

namespace {

const char* valueOf(const EventData& event, const char* name) {
  const char* value = event.getValue(name);
  return value != nullptr ? value : "";
}

// The fields an offer carries, checked; reason says what was wrong, null when all is well.
struct Offer {
  const char* nick;
  int id = 0;
  bool idKnown = false;
  std::string name;
  int size = 0;
  const char* reason = nullptr;

  explicit Offer(const EventData& event) : nick(valueOf(event, "nick")) {
    idKnown = transfer::parseId(valueOf(event, "id"), id);
    name = transfer::safeOfferedName(valueOf(event, "filename"));
    if (!idKnown)
      reason = "bad id";
    else if (name.empty())
      reason = "bad file name";
    else if (!transfer::parseSize(valueOf(event, "size"), size))
      reason = "bad size";
  }
};

// The peer's listening address; false when the address or port is not acceptable.
bool readLink(const EventData& event, std::string& ip, int& port, std::string& password) {
  ip = valueOf(event, "ip");
  password = valueOf(event, "password");
  return transfer::isDottedAddress(ip.c_str()) && transfer::parsePort(valueOf(event, "port"), port) &&
         !password.empty();
}

}  // namespace

void FileTransferSession::refuseOffer(const char* nick, int id, bool idKnown, const char* reason) {
  if (idKnown && nick[0] != '\0' && strpbrk(nick, " \r\n") == nullptr)
    sendData("senddata %s [Varazir][Refuse][%d]\n", nick, id);
  printSystem("File offer from %s refused: %s\n", nick, reason);
}

void FileTransferSession::keepIncoming(std::unique_ptr<Transfer> transfer) {
  for (size_t i = 0; i < incoming.size();) {
    if (incoming[i]->isFinished())
      incoming.erase(incoming.begin() + static_cast<long>(i));
    else
      ++i;
  }
  incoming.push_back(std::move(transfer));
}

bool FileTransferSession::queueOffer(IncomingOffer offer) {
  std::string tooMany = offers.refusal(offer.nick);
  if (!tooMany.empty()) {
    refuseOffer(offer.nick.c_str(), offer.id, true, tooMany.c_str());
    return false;
  }
  std::string notice = offer.nick + " wants to send file \"" + offer.name + "\" ";
  sendEvent("NevChat", "sysout", const_cast<char*>(notice.c_str()));
  offers.add(std::move(offer));
  askNextOffer();
  return true;
}

// One save dialog at a time, the next once it is answered; it says who offers what.
void FileTransferSession::askNextOffer() {
  const IncomingOffer* next = offers.nextToAsk();
  if (next == nullptr) return;
  std::string title = "Select File ... - " + next->nick + " wants to transfert file " +
                      next->name + " (" + transfer::sizeText(next->size) + ")";
  handOff->askSaveTarget(next->key, title, next->name, saveFolder.current());
}

void FileTransferSession::targetChosen(int key, const std::string& path) {
  IncomingOffer offer;
  if (!offers.take(key, offer)) return;
  if (path.empty()) {
    sendData("senddata %s [Varazir][Refuse][%d]\n", offer.nick.c_str(), offer.id);
  } else {
    saveFolder.chosen(path);
    acceptOffer(offer, path);
  }
  askNextOffer();
}

// Only now does the offer get its thread, and its listening socket when the peer connects.
void FileTransferSession::acceptOffer(const IncomingOffer& offer, const std::string& path) {
  std::unique_ptr<Transfer> receiver;
  if (offer.withAddress) {
    receiver.reset(new ClientTransfer(*handOff));
    receiver->setup({path, offer.id, offer.ip, offer.port, offer.password, false, offer.nick});
  } else {
    receiver.reset(new ServerTransfer(*handOff));
    receiver->setup({path, offer.id, ownAddress(), 0, transfer::makePassword(), false, offer.nick});
  }
  receiver->setSize(offer.size);
  receiver->setOfferedName(offer.name);
  // No port or no thread: the peer hears no rather than an address nobody listens on.
  if (!receiver->prepare() || !receiver->start()) {
    sendData("senddata %s [Varazir][Refuse][%d]\n", offer.nick.c_str(), offer.id);
    printSystem("cannot open socket\n");
    return;
  }
  receiver->resume();
  keepIncoming(std::move(receiver));
}

void FileTransferSession::onSendServer(const EventData& event) {
  Offer offer(event);
  std::string ip, password;
  int port = 0;
  if (offer.reason == nullptr && !readLink(event, ip, port, password)) offer.reason = "bad address";
  if (offer.reason != nullptr) {
    refuseOffer(offer.nick, offer.id, offer.idKnown, offer.reason);
    return;
  }
  if (!queueOffer({offer.nick, offer.id, offer.name, offer.size, true, ip, port, password, 0}))
    return;
  printSystem("evt:vfilesendserver from %s sending %s(%d bytes)[id:%d] , from %s:%d [%s]\n",
              offer.nick, offer.name.c_str(), offer.size, offer.id, ip.c_str(), port,
              password.c_str());
}

void FileTransferSession::onSend(const EventData& event) {
  Offer offer(event);
  if (offer.reason != nullptr) {
    refuseOffer(offer.nick, offer.id, offer.idKnown, offer.reason);
    return;
  }
  if (connectMode) {
    sendData("senddata %s [Varazir][Refuse][%d]\n", offer.nick, offer.id);
    printSystem("We must refuse file.\n");
    return;
  }
  if (!queueOffer({offer.nick, offer.id, offer.name, offer.size, false, "", 0, "", 0})) return;
  printSystem("evt:vfilesend from %s sending %s(%d bytes)[id:%d]\n", offer.nick,
              offer.name.c_str(), offer.size, offer.id);
}

Transfer* FileTransferSession::findWaiting(const char* nick, int id, bool listening) {
  for (auto& transfer : transfers) {
    if (transfer->id() != id) continue;
    bool matches = equalsNoCase(transfer->nick().c_str(), nick) &&
                   transfer->isListening() == listening && !transfer->isResumed();
    return matches ? transfer.get() : nullptr;
  }
  return nullptr;
}

void FileTransferSession::onAcceptServer(const EventData& event) {
  const char* nick = valueOf(event, "nick");
  int id = -1;
  bool idKnown = transfer::parseId(valueOf(event, "id"), id);
  printSystem("evt:vfileacceptserver looking for id(%d) ...\n", id);
  std::string ip, password;
  int port = 0;
  Transfer* found = idKnown ? findWaiting(nick, id, false) : nullptr;
  if (found == nullptr || !readLink(event, ip, port, password)) {
    printSystem("evt:vfileacceptserver ...id not found\n");
    return;
  }
  found->setup({found->path(), found->id(), ip, port, password, true, nick});
  if (found->start()) found->resume();
  printSystem("evt:vfileacceptserver from %s sending %s(%d bytes)[id:%d] , from %s:%d [%s]\n",
              nick, found->path().c_str(), found->fileSize(), id, ip.c_str(), port,
              password.c_str());
}

void FileTransferSession::onAccept(const EventData& event) {
  const char* nick = valueOf(event, "nick");
  int id = -1;
  bool idKnown = transfer::parseId(valueOf(event, "id"), id);
  printSystem("evt:vfileaccept from %s looking if id(%d) exist ...\n", nick, id);
  Transfer* found = idKnown ? findWaiting(nick, id, true) : nullptr;
  if (found == nullptr) {
    printSystem("evt:vfileaccept ... id not in queue\n");
    return;
  }
  if (found->start()) found->resume();
  printSystem("evt:vfileaccept from %s sending %s(%d bytes)[id:%d] , from %s:%d [%s]\n", nick,
              found->path().c_str(), found->fileSize(), id, found->address().c_str(),
              found->port(), found->password().c_str());
}

void FileTransferSession::onRefuse(const EventData& event) {
  const char* nick = valueOf(event, "nick");
  int id = -1;
  bool idKnown = transfer::parseId(valueOf(event, "id"), id);
  printSystem("evt:vfilerefuse looking for id(%d) ...\n", id);
  for (auto& transfer : transfers) {
    if (!idKnown || transfer->id() != id || !equalsNoCase(transfer->nick().c_str(), nick))
      continue;
    transfer->close();
    printSystem("%s refuse File transfert (%s)\n", nick, transfer->path().c_str());
    return;
  }
  printSystem("evt:vfilerefuse ... id not in queue\n");
}
