// A small chat server for demos and tests: one thread polls every client, logs users in and
// relays chat, tells and client data in the wire format its README describes.
#pragma once

#include <atomic>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "outside/chatserver/LineReader.h"

struct pollfd;

struct ChatServerOptions {
  std::string bindAddress = "127.0.0.1";
  int port = 0;  // 0: the kernel picks one
  bool stamp = true;
  bool telnet = false;
  size_t maxLine = 1024;                 // longer client lines are cut
  size_t maxPending = 16 * 1024 * 1024;  // a client that reads nothing is dropped beyond this
};

class ChatServer {
 public:
  explicit ChatServer(const ChatServerOptions& options = ChatServerOptions());
  ~ChatServer();  // stops the thread and closes every connection
  ChatServer(const ChatServer&) = delete;
  ChatServer& operator=(const ChatServer&) = delete;

  // Binds and listens; false (with a reason in error()) when that fails.
  bool listen();
  // listen, then serves on a thread of its own until stop or destruction.
  bool start();
  void stop();
  // One poll round: accepts, reads, runs commands, writes. Waits at most timeoutMs (-1: no bound).
  void runOnce(int timeoutMs);
  // False once stop was asked for or the admin input ended with quitOnEof.
  bool running() const { return running_; }

  int port() const { return port_; }
  const std::string& error() const { return error_; }

  // An account; a login with that name must then give the password (none when empty).
  void addUser(const std::string& name, const std::string& password, const std::string& group);

  // Admin operations on logged-in users ("*" for everyone where it makes sense); false when
  // nobody of that name is logged in.
  bool inject(const std::string& nick, const std::string& rawBytes);
  bool setGroup(const std::string& nick, const std::string& group);
  bool moved(const std::string& nick, const std::string& host, int port);
  bool badServer(const std::string& nick, const std::string& host, int port);
  bool drop(const std::string& nick);
  bool setIdle(const std::string& nick, const std::string& value);

  // Every line received from the user (its login and password lines included), in order,
  // across its connections.
  std::vector<std::string> transcript(const std::string& nick) const;
  bool isLoggedIn(const std::string& nick) const;
  int connectionCount() const;

  // Runs one admin text command ("to", "group", "moved", "badserver", "drop", "idle") and
  // returns the reply for the operator.
  std::string adminCommand(const std::string& line);
  // Reads admin commands from fd inside the poll loop and writes the replies to replyFd;
  // at the end of the input the server stops when quitOnEof, else it stops reading.
  void watchAdminInput(int fd, int replyFd, bool quitOnEof);

  // Lines go to clients as stamp + body + "\n"; exposed for the README's examples and tests.
  static std::string stampOf(std::time_t when);

 private:
  enum class Stage { Login, Password, Chat };

  struct Connection {
    Connection(int fd, size_t maxLine, bool telnet) : fd(fd), reader(maxLine, telnet) {}
    int fd;
    LineReader reader;
    std::string out;
    Stage stage = Stage::Login;
    std::vector<std::string> received;  // lines before the login name is known
    std::string nick;                   // the name given at the login prompt
    std::string group = "User";
    std::string client = "-";
    std::string channel = "Hall";
    std::string idle;  // set by the admin; cleared by the user's next line
    std::time_t lastActive = 0;
    bool away = false;
    bool closing = false;   // closed once its output is written
    bool echoBack = false;  // telnet: the next line turns the echo back on
    int failedLogins = 0;
  };
  using ConnectionPtr = std::unique_ptr<Connection>;

  struct Account {
    std::string password;
    std::string group;
  };
  struct Note {
    std::string date;
    std::string from;
    std::string text;
  };

  // Sockets and the loop (ChatServer.cpp).
  void acceptClients();
  void readClient(Connection& c);
  void writeClient(Connection& c);
  void closeConnection(Connection& c, const char* reason);
  void removeClosed();
  void serveRound(const std::vector<pollfd>& fds);
  void readAdminInput();
  void runAdminLines();
  void wake();

  // Output.
  void sendRaw(Connection& c, const std::string& bytes);
  void sendLine(Connection& c, const std::string& body);
  void sendPrompt(Connection& c, const std::string& body, bool echoOff);
  void sendToChannel(const std::string& channel, const std::string& body, const Connection* except);
  void sendToAll(const std::string& body, const Connection* except);
  void sendNotLoggedIn(Connection& c, const std::string& nick);
  Connection* findUser(const std::string& nick);
  const Connection* findUser(const std::string& nick) const;

  // The dialogue (ChatLogin.cpp, ChatCommands.cpp, ChatChannels.cpp).
  void onLine(Connection& c, const ReadLine& line);
  void greet(Connection& c);
  void onLoginName(Connection& c, const std::string& name);
  void onPassword(Connection& c, const std::string& password);
  void failLogin(Connection& c, const std::string& reason);
  void completeLogin(Connection& c);
  void onCommand(Connection& c, const std::string& line);
  bool runUserCommand(Connection& c, const std::string& word, const std::string& rest);
  bool runListCommand(Connection& c, const std::string& word, const std::string& rest);
  void who(Connection& c, bool all);
  std::string idleOf(const Connection& c) const;
  void senddata(Connection& c, const std::string& rest);
  void tell(Connection& c, const std::string& rest);
  void onNickCommand(Connection& c, const std::string& word, const std::string& nick);
  void bump(Connection& c, Connection& target);
  void kick(Connection& c, Connection& target);
  void finger(Connection& c, const Connection& target);
  void join(Connection& c, const std::string& channel);
  void leave(Connection& c);
  void setTopic(Connection& c, const std::string& text);
  void sendTopic(Connection& c);
  void say(Connection& c, const std::string& text);
  void help(Connection& c, const std::string& topic);
  void info(Connection& c);
  void showMessages(Connection& c);
  void showWall(Connection& c);
  void showHistory(Connection& c);
  void record(const std::string& nick, const std::string& line);
  // Runs action on the named user, or on every user for "*"; false when nobody was found.
  bool forTargets(const std::string& nick, const std::function<void(Connection&)>& action);

  ChatServerOptions options_;
  int listenFd_ = -1;
  int wakeFds_[2] = {-1, -1};
  int port_ = 0;
  std::string error_;
  std::atomic<bool> running_{true};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<ConnectionPtr> connections_;
  std::map<std::string, Account> accounts_;  // keys in lower case, as every nick lookup
  std::map<std::string, std::vector<std::string>> transcripts_;
  std::map<std::string, std::string> topics_;
  std::map<std::string, std::vector<Note>> messages_;
  std::vector<Note> wall_;
  std::map<std::string, std::vector<std::string>> history_;
  std::time_t startTime_ = 0;
  int adminFd_ = -1;
  int adminReplyFd_ = -1;
  bool quitOnEof_ = false;
  std::string adminInput_;
};
