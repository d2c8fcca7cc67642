#pragma once
// The audio output shared by the sound effects and the speech voices: one
// OpenAL Soft device with one context, opened by the first user and closed
// when the last one lets go. Which backend plays is OpenAL Soft's choice
// (ALSOFT_DRIVERS / alsoft.conf): a sound card, or the null or wave-file
// backend where there is none.
#include <memory>

namespace vlm::platform {

class AudioDevice {
 public:
  ~AudioDevice();
  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;
  // The device still plays (false once the backend reported it lost).
  bool connected() const;

 private:
  friend std::shared_ptr<AudioDevice> acquireAudioDevice();
  AudioDevice() = default;
  struct Handles;
  Handles* handles_ = nullptr;
};

// The shared device, opened on first use; null when no device can be opened.
// Its context is current for every thread while it is held.
std::shared_ptr<AudioDevice> acquireAudioDevice();

}  // namespace vlm::platform
