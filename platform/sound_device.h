#pragma once
// Sound effects with frequency and volume control: a sound device that makes
// one buffer per recording, each played from its start at a chosen rate and
// loudness. Backed by OpenAL Soft; tests put a recording device in its place.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace vlm::platform {

// The format of PCM samples, as a wave file's "fmt " chunk gives it.
struct WaveFormat {
  uint16_t formatTag = 0;  // 1 PCM
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
};

enum class PlayResult { Playing, BufferLost, Failed };

// Volumes are in hundredths of a decibel, 0 (as recorded) down to -10000 (silent).
constexpr int32_t kVolumeSilent = -10000;

class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;
  // Copies the samples into the buffer from its start.
  virtual bool write(const uint8_t* samples, size_t bytes) = 0;
  virtual bool setCurrentPosition(uint32_t byteOffset) = 0;
  // The playback rate in samples per second; 0 is the recording's own rate.
  virtual bool setFrequency(uint32_t hz) = 0;
  virtual bool setVolume(int32_t hundredthsOfDb) = 0;
  // Plays once from the current position.
  virtual PlayResult play() = 0;
  // Makes a lost buffer usable again; its samples must then be written anew.
  virtual bool restore() = 0;
  virtual bool isPlaying() const = 0;
};

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // Shares the output with the other programs of the desktop.
  virtual bool setCooperativeLevel(void* window) = 0;
  // A buffer of `bytes` bytes of samples in `format`, with frequency and volume control.
  virtual std::unique_ptr<SoundBuffer> createBuffer(const WaveFormat& format, size_t bytes) = 0;
  // The device's mixing output: made, then started for good.
  virtual bool createPrimaryBuffer() = 0;
  virtual bool playPrimaryLooping() = 0;
};

// The default output device, or null when there is none.
std::unique_ptr<SoundDevice> createSoundDevice();

using SoundDeviceFactory = std::function<std::unique_ptr<SoundDevice>()>;
// Replaces how devices are made (null restores OpenAL); returns the previous factory.
SoundDeviceFactory setSoundDeviceFactory(SoundDeviceFactory factory);

// Gain factor of a volume in hundredths of a decibel (0 for -10000 and below).
float volumeToGain(int32_t hundredthsOfDb);

}  // namespace vlm::platform
