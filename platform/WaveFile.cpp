#include "platform/WaveFile.h"

#include <cstdio>
#include <cstring>

namespace vornplatform {
namespace {

uint32_t read32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

const size_t kMaxWaveBytes = 64u << 20;  // a notification sound, not an album

}  // namespace

bool WaveFile::parse(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
    return false;
  bool haveFormat = false;
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const uint8_t* chunk = bytes.data() + at;
    uint32_t length = read32(chunk + 4);
    if (length > bytes.size() - at - 8) return false;
    if (std::memcmp(chunk, "fmt ", 4) == 0 && length >= 16) {
      if (read16(chunk + 8) != 1) return false;  // PCM only
      channels = read16(chunk + 10);
      sampleRate = read32(chunk + 12);
      bitsPerSample = read16(chunk + 22);
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return false;
      samples.assign(chunk + 8, chunk + 8 + length);
      bool known = (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16);
      return known && sampleRate >= 1000 && sampleRate <= 192000;
    }
    at += 8 + length + (length & 1);
  }
  return false;
}

bool WaveFile::load(const std::string& nativePath) {
  FILE* file = std::fopen(nativePath.c_str(), "rb");
  if (file == nullptr) return false;
  std::vector<uint8_t> bytes;
  uint8_t block[65536];
  size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0 && bytes.size() <= kMaxWaveBytes)
    bytes.insert(bytes.end(), block, block + got);
  std::fclose(file);
  return bytes.size() <= kMaxWaveBytes && parse(bytes);
}

uint32_t WaveFile::frameCount() const {
  size_t frame = static_cast<size_t>(channels) * (bitsPerSample / 8);
  return frame == 0 ? 0 : static_cast<uint32_t>(samples.size() / frame);
}

}  // namespace vornplatform
