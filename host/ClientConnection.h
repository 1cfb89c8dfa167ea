// ClientConnection: a client's list of chat servers and the receive thread that connects to
// them in turn and reads the socket, reporting every happening to the GUI thread as a request.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "host/ConnectionRequest.h"
#include "host/SendQueue.h"
#include "host/ServerEntry.h"
#include "lib/CriticalSection.h"
#include "lib/IniFile.h"
#include "lib/List.h"
#include "lib/Socket.h"
#include "lib/Thread.h"

class Client;
class ListView;

class ClientConnection : public Thread {
 public:
  // Every request goes to notifyWindow (the system window).
  explicit ClientConnection(HWND notifyWindow);
  ~ClientConnection() override;
  ClientConnection(const ClientConnection&) = delete;
  ClientConnection& operator=(const ClientConnection&) = delete;

  void setOwner(Client* owner, ListView* serverView);
  // The client's name: its section of the settings file and the name console errors give.
  void setClientName(const char* name);

  // The list lives in the client's section of the host's settings file.
  void loadServers();
  void saveServers();

  bool addServer(const char* host, int port, bool atFront);
  void setDefaultServer(const char* host, int port);
  bool removeServer(const char* host, int port);
  void clearServers();
  ServerEntry* findServer(const char* host, int port);
  ServerEntry* getDefaultServer();
  // Refills the server view from the list; the first server, null for an empty list.
  ServerEntry* fillServerList();

  // A connect while connected tries the servers after the connected one first and the
  // connected one last, each once.
  void connect();
  void disconnect();
  bool isConnected();
  // Never waits on the server: what the socket does not take at once is queued and written
  // by the receive thread, in order. A queue past its bound, or one the server takes nothing
  // of for too long, ends the connection with a socket error that says why.
  void send(const char* text);
  SendQueue& getSendQueue() { return outgoing; }
  // False when the window is gone; the record is then freed.
  bool postRequest(ConnectionRequest* request);
  // The GUI thread took one received chunk off the queue. The receive thread stops reading
  // while MaxPendingChunks chunks wait, so a fast server cannot fill memory.
  void chunkHandled();
  static constexpr int MaxPendingChunks = 4;

  // Asks the thread to stop and wakes it from its idle wait, without waiting for it: a quit
  // asks every client's thread before it joins the first.
  void askToStop();
  // Ends the thread even while it is still connecting: disconnects, aborts a blocked connect
  // and joins. Nothing is posted after it returns, apart from a Closed of a live connection.
  void term();

  // Biggest chunk one receive hands over; the buffer keeps a byte for the terminator.
  static constexpr int MaxChunk = 65533;

 protected:
  void run() override;

 private:
  void readState(bool* wanted, bool* connected);
  void waitIdle(int milliseconds);
  bool takeNextServer(char* host, int size, int* port);
  void connectNextServer();
  void serveConnection();
  void receiveChunk();
  // GUI thread: ends the connection after a failed or refused send, saying why.
  void dropConnection(const char* why);
  // Receive thread: ends the connection it serves, saying why.
  void loseConnection(const char* why);
  void post(int kind, const char* text, int value);
  bool loadServer(IniFile& ini, int index);
  void addViewItem(ServerEntry* entry);

  static const char* const SettingsFile;

  Client* owner;
  HWND notifyWindow;
  Socket socket;
  char* receiveBuffer;
  bool wanted;
  bool connected;
  // The idle thread waits on these, so that a stop needs no wait for its next round.
  std::mutex idleLock;
  std::condition_variable idleWake;
  CriticalSection linkLock;  // guards wanted and connected
  List<ServerEntry*> servers;
  CriticalSection serverLock;  // guards servers and the walk over them
  ListIteratorBase<ServerEntry*>* walk;
  int walkLeft = -1;  // servers the walk has still to try; -1 until it counts them
  ListView* serverView;
  char* clientName;
  std::atomic<int> pendingChunks{0};
  SendQueue outgoing;
};
