// The add-in's built-in settings: fixed values that no settings file changes; tests may set
// them to reach their other branches quickly.
#pragma once

#include <string>

struct TransferSettings {
  bool resume = true;            // continue a partial file from its size
  bool renameExisting = true;    // pick a free name instead of overwriting
  bool fixedPort = false;        // listen on fixedPortNumber instead of a free port
  int fixedPortNumber = 1234;
  int acceptTimeoutMs = 10 * 60 * 1000;  // a listening side waits this long for its peer
  int connectTimeoutMs = 10 * 1000;
  std::string lookupHost = "1.1.1.1";  // a public address reached to learn the own address
  int lookupPort = 80;
  int lookupTimeoutMs = 3000;
  std::string addressOverride;  // when set, the own address without any look-up
};

TransferSettings& transferSettings();
