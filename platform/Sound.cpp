// PlaySoundA over ALSA: one sound at a time on a player thread. The device is opened without
// blocking and every wait is bounded, so a missing or stuck device fails the play instead of
// holding up the caller; without ALSA at build time every play fails.
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifdef VORNITH_HAVE_ALSA
#include <alsa/asoundlib.h>
// ALSA brings the system's poll bits; this file uses none, and Winsock's follow.
#undef POLLRDNORM
#undef POLLRDBAND
#undef POLLIN
#undef POLLPRI
#undef POLLWRNORM
#undef POLLOUT
#undef POLLWRBAND
#undef POLLERR
#undef POLLHUP
#undef POLLNVAL
#endif

#include "platform/WaveFile.h"
#include "platform/testing_shell.h"
#include "platform/win32.h"
#include "platform/win32_shell.h"

namespace vornplatform {
namespace {

struct Player {
  std::mutex lock;
  std::thread thread;
  std::atomic<bool> playing{false};
  std::atomic<bool> stop{false};
  bool silent = false;
  std::vector<vorntest::PlayedSound> played;

  ~Player() { halt(); }
  // Caller holds lock.
  void halt() {
    stop = true;
    if (thread.joinable()) thread.join();
    stop = false;
    playing = false;
  }
};

Player& player() {
  static Player instance;
  return instance;
}

#ifdef VORNITH_HAVE_ALSA
// ALSA prints its configuration errors (no card) on stderr; a failed play says it already.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

bool openDevice(const WaveFile& wave, snd_pcm_t** out) {
  snd_lib_error_set_handler(quietAlsa);
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
  snd_pcm_format_t format = wave.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
  if (snd_pcm_set_params(pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED,
                         static_cast<unsigned>(wave.channels), wave.sampleRate, 1, 200000) < 0) {
    snd_pcm_close(pcm);
    return false;
  }
  *out = pcm;
  return true;
}

// Writes the frames, waiting at most a bounded time for the device each round.
void writeFrames(snd_pcm_t* pcm, const WaveFile& wave, const std::atomic<bool>& stop) {
  size_t frameBytes = static_cast<size_t>(wave.channels) * (wave.bitsPerSample / 8);
  uint32_t total = wave.frameCount();
  uint32_t done = 0;
  int idleRounds = 0;
  while (done < total && !stop && idleRounds < 20) {
    snd_pcm_sframes_t wrote =
        snd_pcm_writei(pcm, wave.samples.data() + done * frameBytes, total - done);
    if (wrote == -EAGAIN) {
      if (snd_pcm_wait(pcm, 100) == 0) ++idleRounds;
      continue;
    }
    if (wrote < 0 && snd_pcm_recover(pcm, static_cast<int>(wrote), 1) < 0) return;
    if (wrote > 0) {
      done += static_cast<uint32_t>(wrote);
      idleRounds = 0;
    }
  }
  // Let the device play what it holds, without a blocking drain.
  for (int round = 0; round < 250 && !stop; ++round) {
    snd_pcm_sframes_t left = 0;
    if (snd_pcm_delay(pcm, &left) < 0 || left <= 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}
#endif

// Opens the device now (so a missing one fails the call) and plays on the player thread.
bool startPlaying(Player& p, WaveFile wave, bool wait) {
  if (p.silent) return true;
#ifdef VORNITH_HAVE_ALSA
  snd_pcm_t* pcm = nullptr;
  if (!openDevice(wave, &pcm)) return false;
  p.playing = true;
  p.thread = std::thread([&p, pcm, wave = std::move(wave)] {
    writeFrames(pcm, wave, p.stop);
    snd_pcm_close(pcm);
    p.playing = false;
  });
  if (wait) p.thread.join();
  return true;
#else
  (void)wave;
  (void)wait;
  return false;
#endif
}

BOOL play(Player& p, LPCSTR sound, DWORD flags) {
  if (sound == nullptr || (flags & SND_PURGE)) {
    p.halt();
    return TRUE;
  }
  if (flags & SND_MEMORY) return FALSE;  // only files are played here
  if ((flags & SND_NOSTOP) && p.playing) return FALSE;
  WaveFile wave;
  if (!wave.load(resolvePath(sound))) return FALSE;
  p.halt();
  return startPlaying(p, std::move(wave), !(flags & SND_ASYNC)) ? TRUE : FALSE;
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

BOOL PlaySoundA(LPCSTR sound, HMODULE, DWORD flags) {
  Player& p = player();
  std::lock_guard<std::mutex> guard(p.lock);
  BOOL result = play(p, sound, flags);
  if (p.played.size() >= 1000) p.played.erase(p.played.begin());
  p.played.push_back({sound ? sound : "", flags, result});
  return result;
}

namespace vorntest {

std::vector<PlayedSound> recordedSounds() {
  std::lock_guard<std::mutex> guard(player().lock);
  return player().played;
}

void clearRecordedSounds() {
  std::lock_guard<std::mutex> guard(player().lock);
  player().played.clear();
}

void useSilentSoundDevice() {
  std::lock_guard<std::mutex> guard(player().lock);
  player().halt();
  player().silent = true;
}

void clearSoundDevice() {
  std::lock_guard<std::mutex> guard(player().lock);
  player().silent = false;
}

}  // namespace vorntest
