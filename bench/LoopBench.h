// What the line-path benchmarks share: the host started in its program folder with the one
// client "bench" connected to the loopback server that floods it.
#pragma once

#include <cstdio>
#include <filesystem>

#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Host.h"
#include "host/tests/e2e/LoopServer.h"
#include "platform/testing.h"
#include "platform/tests/TempFolder.h"
#include "platform/win32.h"

namespace loopbench {

// Moves into the folder and starts the host; the client once the server has its connection,
// or null after a line on stderr.
inline Client* startBenchClient(const TempFolder& folder, const LoopServer& server) {
  std::filesystem::current_path(folder.path());
  startUp(GetModuleHandleA(nullptr));
  Client* client = clientList != nullptr ? clientList->findClient("bench") : nullptr;
  if (client == nullptr || !vorntest::pumpUntil([&] { return server.hasClient(); }, 10000)) {
    std::fprintf(stderr, "the client did not connect\n");
    return nullptr;
  }
  vorntest::pumpFor(200);
  return client;
}

}  // namespace loopbench
