// The server's sockets and its poll loop: accepting, reading, writing and closing clients.
#include "outside/chatserver/ChatServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "outside/chatserver/ChatText.h"

namespace {

bool setNonBlocking(int fd) {
  int flags = fcntl(fd, F_GETFL, 0);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

ChatServer::ChatServer(const ChatServerOptions& options)
    : options_(options), startTime_(std::time(nullptr)) {}

ChatServer::~ChatServer() {
  stop();
  for (ConnectionPtr& c : connections_) close(c->fd);
  if (listenFd_ >= 0) close(listenFd_);
  for (int fd : wakeFds_)
    if (fd >= 0) close(fd);
}

bool ChatServer::listen() {
  if (pipe(wakeFds_) != 0 || !setNonBlocking(wakeFds_[0]) || !setNonBlocking(wakeFds_[1])) {
    error_ = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(options_.port));
  if (inet_pton(AF_INET, options_.bindAddress.c_str(), &address.sin_addr) != 1) {
    error_ = "not an IPv4 address: " + options_.bindAddress;
    return false;
  }
  listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
  int on = 1;
  setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (listenFd_ < 0 ||
      bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listenFd_, 64) != 0 || !setNonBlocking(listenFd_)) {
    error_ = std::string("cannot listen: ") + std::strerror(errno);
    return false;
  }
  socklen_t length = sizeof address;
  getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  return true;
}

bool ChatServer::start() {
  if (!listen()) return false;
  thread_ = std::thread([this] {
    while (running_) runOnce(-1);
  });
  return true;
}

void ChatServer::stop() {
  running_ = false;
  wake();
  if (thread_.joinable()) thread_.join();
}

void ChatServer::wake() {
  if (wakeFds_[1] >= 0) {
    char byte = 1;
    ssize_t written = write(wakeFds_[1], &byte, 1);
    (void)written;  // a full pipe already wakes the loop
  }
}

void ChatServer::runOnce(int timeoutMs) {
  std::vector<pollfd> fds;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    fds.push_back({listenFd_, POLLIN, 0});
    fds.push_back({wakeFds_[0], POLLIN, 0});
    fds.push_back({adminFd_, POLLIN, 0});
    for (const ConnectionPtr& c : connections_) {
      short events = c->closing ? 0 : POLLIN;
      if (!c->out.empty()) events |= POLLOUT;
      fds.push_back({c->fd, events, 0});
    }
  }
  if (poll(fds.data(), fds.size(), timeoutMs) < 0) return;
  serveRound(fds);
  runAdminLines();
}

void ChatServer::serveRound(const std::vector<pollfd>& fds) {
  std::lock_guard<std::mutex> lock(mutex_);
  char drain[64];
  while (read(wakeFds_[0], drain, sizeof drain) > 0) {
  }
  if (fds[2].revents) readAdminInput();
  // Connections only grow during the round, so the first ones still line up with fds.
  size_t known = fds.size() - 3;
  for (size_t i = 0; i < known && i < connections_.size(); ++i) {
    Connection& c = *connections_[i];
    short revents = fds[i + 3].revents;
    if (revents & (POLLIN | POLLHUP | POLLERR)) readClient(c);
    if (c.fd >= 0 && (!c.out.empty() || c.closing)) writeClient(c);
  }
  if (fds[0].revents & POLLIN) acceptClients();
  removeClosed();
}

void ChatServer::acceptClients() {
  for (;;) {
    int fd = accept(listenFd_, nullptr, nullptr);
    if (fd < 0) return;
    setNonBlocking(fd);
    connections_.push_back(std::make_unique<Connection>(fd, options_.maxLine, options_.telnet));
    Connection& c = *connections_.back();
    c.lastActive = std::time(nullptr);
    greet(c);
    writeClient(c);
  }
}

void ChatServer::readClient(Connection& c) {
  if (c.fd < 0 || c.closing) return;
  char buffer[4096];
  ssize_t count = recv(c.fd, buffer, sizeof buffer, 0);
  if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
  if (count <= 0) {
    closeConnection(c, "connection lost");
    return;
  }
  std::vector<ReadLine> lines;
  c.reader.feed(buffer, static_cast<size_t>(count), lines);
  for (const ReadLine& line : lines) {
    if (c.fd < 0 || c.closing) break;
    onLine(c, line);
  }
}

void ChatServer::writeClient(Connection& c) {
  while (c.fd >= 0 && !c.out.empty()) {
    ssize_t sent = send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) break;
    if (sent <= 0) {
      c.out.clear();
      closeConnection(c, "connection lost");
      return;
    }
    c.out.erase(0, static_cast<size_t>(sent));
  }
  if (c.fd >= 0 && c.closing && c.out.empty()) closeConnection(c, nullptr);
}

void ChatServer::closeConnection(Connection& c, const char* reason) {
  if (c.fd < 0) return;
  close(c.fd);
  c.fd = -1;
  // Someone who was in the chat and did not say goodbye: the others learn it now.
  if (reason && c.stage == Stage::Chat && !c.closing)
    sendToAll("<-- " + c.nick + " leaves: " + reason, &c);
  c.closing = true;
}

void ChatServer::removeClosed() {
  connections_.erase(std::remove_if(connections_.begin(), connections_.end(),
                                    [](const ConnectionPtr& c) { return c->fd < 0; }),
                     connections_.end());
}

void ChatServer::sendRaw(Connection& c, const std::string& bytes) {
  if (c.fd < 0) return;
  if (c.out.size() + bytes.size() > options_.maxPending) {
    // It reads nothing: keeping everything for it would let one client exhaust the memory.
    c.out.clear();
    closeConnection(c, "too slow");
    return;
  }
  c.out += bytes;
}

void ChatServer::sendLine(Connection& c, const std::string& body) {
  std::string bytes = options_.stamp ? stampOf(std::time(nullptr)) : std::string();
  // The telnet bytes sit where they sit before the password prompt: behind the stamp.
  if (c.echoBack) bytes += TelnetWontEcho;
  c.echoBack = false;
  sendRaw(c, bytes + body + "\n");
}

void ChatServer::sendNotLoggedIn(Connection& c, const std::string& nick) {
  // Only a plain name goes back: "Password:" in its place would read as the password prompt.
  if (isWordName(nick, 64))
    sendLine(c, "<Nev> " + nick + " is not logged in.");
  else
    sendLine(c, "<Nev> No such user.");
}

void ChatServer::sendPrompt(Connection& c, const std::string& body, bool echoOff) {
  std::string bytes = options_.stamp ? stampOf(std::time(nullptr)) : std::string();
  if (echoOff && options_.telnet) bytes += TelnetWillEcho;
  sendRaw(c, bytes + body);
}

void ChatServer::sendToChannel(const std::string& channel, const std::string& body,
                               const Connection* except) {
  for (ConnectionPtr& c : connections_)
    if (c.get() != except && c->stage == Stage::Chat && !c->closing && c->channel == channel)
      sendLine(*c, body);
}

void ChatServer::sendToAll(const std::string& body, const Connection* except) {
  for (ConnectionPtr& c : connections_)
    if (c.get() != except && c->stage == Stage::Chat && !c->closing) sendLine(*c, body);
}

ChatServer::Connection* ChatServer::findUser(const std::string& nick) {
  std::string key = lowerCase(nick);
  for (ConnectionPtr& c : connections_)
    if (c->stage == Stage::Chat && !c->closing && lowerCase(c->nick) == key) return c.get();
  return nullptr;
}

const ChatServer::Connection* ChatServer::findUser(const std::string& nick) const {
  return const_cast<ChatServer*>(this)->findUser(nick);
}

std::string ChatServer::stampOf(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S ", &local);
  return text;
}
