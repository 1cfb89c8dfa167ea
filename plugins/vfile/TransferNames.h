// The small rules of a transfer: block size, password, offered and local file names, and
// the strict reading of a peer's numbers and addresses.
#pragma once

#include <cstdint>
#include <string>

namespace transfer {

// A tenth of the size, kept between 10,240 bytes and 1 MiB.
int blockSizeFor(int64_t size);
// 8 to 31 characters of codes 32..121 from the system's secure random source, with the
// brackets of the control lines turned into braces.
std::string makePassword();
// The text after the last '/' or '\'.
std::string baseName(const std::string& path);
// The offered name a receiver may use: the last path component, never empty, ".", ".." or
// holding a control character; empty when refused.
std::string safeOfferedName(const char* offered);
// While a non-empty file called name exists, inserts "-N" before the last '.' of the file-name
// part (or at its end), N = 0, 1, ... in turn, each step on the previous result.
std::string freeTargetName(const std::string& name);
// "%0.2f Bytes" below 1 KB, "%0.2f KB" below 1 MB, "%0.2f MB" from there on.
std::string sizeText(int64_t size);
// Size of a file in bytes, -1 when it cannot be read.
int64_t fileSize(const std::string& path);

// Strict readers of peer fields: decimal digits only, within range.
bool parseNumber(const char* text, int64_t low, int64_t high, int64_t& value);
bool parseSize(const char* text, int& size);  // 1..INT_MAX
bool parsePort(const char* text, int& port);  // 1..65535
bool parseId(const char* text, int& id);      // 0..INT_MAX
// A dotted IPv4 address, never a host name.
bool isDottedAddress(const char* text);
// 10.*, 127.*, 172.16.* and 192.168.* (four octets in network order).
bool isPrivateAddress(const unsigned char octets[4]);

}  // namespace transfer
