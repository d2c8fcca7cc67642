#pragma once
// Plays 16-bit mono PCM on the shared audio output, one clip at a time: a new
// clip purges the one still playing. Used by the speech voices.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace vlm::platform {

class AudioDevice;

class PcmPlayer {
 public:
  // A player on the shared output; null when there is no output.
  static std::shared_ptr<PcmPlayer> open();
  ~PcmPlayer();
  PcmPlayer(const PcmPlayer&) = delete;
  PcmPlayer& operator=(const PcmPlayer&) = delete;

  bool play(const int16_t* samples, size_t count, int rate);
  void stop();
  bool isPlaying() const;
  // Waits until the clip has played, at most `timeout` (negative: no limit);
  // true when it has.
  bool waitUntilDone(std::chrono::milliseconds timeout) const;

 private:
  explicit PcmPlayer(std::shared_ptr<AudioDevice> device) : device_(std::move(device)) {}
  std::shared_ptr<AudioDevice> device_;
  unsigned source_ = 0, buffer_ = 0;
};

}  // namespace vlm::platform
