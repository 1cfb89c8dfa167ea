// A RIFF wave file read for playing: its PCM format and samples. Internal to platform/; the
// reader checks every chunk length against the file, so a damaged file is refused, not read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vornplatform {

struct WaveFile {
  int channels = 0;      // 1 or 2
  int bitsPerSample = 0;  // 8 or 16
  uint32_t sampleRate = 0;
  std::vector<uint8_t> samples;  // interleaved frames as stored

  // False for anything but uncompressed 8- or 16-bit PCM with one or two channels.
  bool parse(const std::vector<uint8_t>& bytes);
  bool load(const std::string& nativePath);
  uint32_t frameCount() const;
};

}  // namespace vornplatform
