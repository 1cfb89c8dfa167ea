// The NvtFilter session of one client, for servers that talk telnet: received text loses the
// doubling of the byte 255 and the server's echo negotiation; sent text has every 255 doubled.
#pragma once

#include <string>

#include "sdk/PlugsInOutSession.h"

class NvtFilterSession : public PlugsInOutSession {
 public:
  explicit NvtFilterSession(const char* clientName);

  // The results stay valid until the next call of the same side.
  const char* onReceivedData(const char* text) override;
  const char* onDataToSend(const char* text) override;

 private:
  std::string received;
  std::string sent;
};
