#include "platform/sound_device.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <cmath>
#include <mutex>

#include "platform/audio_device.h"

namespace vlm::platform {
namespace {

// The OpenAL format of PCM samples; 0 when OpenAL cannot play them.
ALenum alFormatOf(const WaveFormat& f) {
  if (f.formatTag != 1 || f.samplesPerSec == 0) return 0;
  if (f.channels == 1 && f.bitsPerSample == 8) return AL_FORMAT_MONO8;
  if (f.channels == 1 && f.bitsPerSample == 16) return AL_FORMAT_MONO16;
  if (f.channels == 2 && f.bitsPerSample == 8) return AL_FORMAT_STEREO8;
  if (f.channels == 2 && f.bitsPerSample == 16) return AL_FORMAT_STEREO16;
  return 0;
}

// A buffer is an OpenAL buffer with its own source; the rate is the source's
// pitch against the recording's rate, the volume its gain.
class AlSoundBuffer final : public SoundBuffer {
 public:
  AlSoundBuffer(std::shared_ptr<AudioDevice> device, const WaveFormat& format, ALenum alFormat, size_t bytes)
      : device_(std::move(device)), format_(format), alFormat_(alFormat), bytes_(bytes) {}
  ~AlSoundBuffer() override { releaseHandles(); }

  bool open() {
    alGetError();
    alGenSources(1, &source_);
    if (alGetError() != AL_NO_ERROR) {
      source_ = 0;
      return false;
    }
    alGenBuffers(1, &buffer_);
    if (alGetError() != AL_NO_ERROR) {
      buffer_ = 0;
      return false;
    }
    alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);  // centred on the listener
    alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
    return alGetError() == AL_NO_ERROR;
  }

  bool write(const uint8_t* samples, size_t bytes) override {
    if (!buffer_ || bytes > bytes_ || bytes % (format_.blockAlign ? format_.blockAlign : 1) != 0) return false;
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alGetError();
    alBufferData(buffer_, alFormat_, samples, static_cast<ALsizei>(bytes), static_cast<ALsizei>(format_.samplesPerSec));
    if (alGetError() != AL_NO_ERROR) return false;
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
    written_ = alGetError() == AL_NO_ERROR;
    return written_;
  }

  bool setCurrentPosition(uint32_t byteOffset) override {
    if (!source_) return false;
    alGetError();
    alSourceRewind(source_);
    if (byteOffset != 0) alSourcei(source_, AL_BYTE_OFFSET, static_cast<ALint>(byteOffset));
    return alGetError() == AL_NO_ERROR;
  }

  bool setFrequency(uint32_t hz) override {
    if (!source_) return false;
    // The range a secondary buffer accepts.
    if (hz != 0 && (hz < 100 || hz > 200000)) return false;
    const float pitch = hz == 0 ? 1.0f : static_cast<float>(hz) / static_cast<float>(format_.samplesPerSec);
    alGetError();
    alSourcef(source_, AL_PITCH, pitch);
    return alGetError() == AL_NO_ERROR;
  }

  bool setVolume(int32_t hundredthsOfDb) override {
    if (!source_ || hundredthsOfDb > 0 || hundredthsOfDb < kVolumeSilent) return false;
    alGetError();
    alSourcef(source_, AL_GAIN, volumeToGain(hundredthsOfDb));
    return alGetError() == AL_NO_ERROR;
  }

  PlayResult play() override {
    if (!source_ || !written_) return PlayResult::Failed;
    if (!device_->connected()) return PlayResult::BufferLost;
    alGetError();
    alSourcePlay(source_);
    return alGetError() == AL_NO_ERROR ? PlayResult::Playing : PlayResult::Failed;
  }

  bool restore() override {
    // A device that went away stays away in OpenAL: the buffer is usable
    // again only when the output is back.
    if (!device_->connected()) return false;
    written_ = false;
    return true;
  }

  bool isPlaying() const override {
    if (!source_) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
  }

 private:
  void releaseHandles() {
    if (source_) {
      alSourceStop(source_);
      alSourcei(source_, AL_BUFFER, 0);
      alDeleteSources(1, &source_);
    }
    if (buffer_) alDeleteBuffers(1, &buffer_);
    source_ = buffer_ = 0;
  }

  std::shared_ptr<AudioDevice> device_;
  WaveFormat format_;
  ALenum alFormat_;
  size_t bytes_;
  ALuint source_ = 0, buffer_ = 0;
  bool written_ = false;
};

class AlSoundDevice final : public SoundDevice {
 public:
  explicit AlSoundDevice(std::shared_ptr<AudioDevice> device) : device_(std::move(device)) {}
  bool setCooperativeLevel(void*) override { return true; }  // OpenAL output is always shared

  std::unique_ptr<SoundBuffer> createBuffer(const WaveFormat& format, size_t bytes) override {
    const ALenum alFormat = alFormatOf(format);
    if (alFormat == 0 || bytes == 0) return nullptr;
    auto buffer = std::make_unique<AlSoundBuffer>(device_, format, alFormat, bytes);
    if (!buffer->open()) return nullptr;
    return buffer;
  }

  // OpenAL mixes from the moment its context exists.
  bool createPrimaryBuffer() override { return device_->connected(); }
  bool playPrimaryLooping() override { return true; }

 private:
  std::shared_ptr<AudioDevice> device_;
};

std::mutex g_factoryMutex;
SoundDeviceFactory g_factory;

}  // namespace

float volumeToGain(int32_t hundredthsOfDb) {
  if (hundredthsOfDb <= kVolumeSilent) return 0.0f;
  if (hundredthsOfDb >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, hundredthsOfDb / 2000.0));
}

std::unique_ptr<SoundDevice> createSoundDevice() {
  SoundDeviceFactory factory;
  {
    std::lock_guard lock(g_factoryMutex);
    factory = g_factory;
  }
  if (factory) return factory();
  auto device = acquireAudioDevice();
  if (!device) return nullptr;
  return std::make_unique<AlSoundDevice>(std::move(device));
}

SoundDeviceFactory setSoundDeviceFactory(SoundDeviceFactory factory) {
  std::lock_guard lock(g_factoryMutex);
  SoundDeviceFactory old = std::move(g_factory);
  g_factory = std::move(factory);
  return old;
}

}  // namespace vlm::platform
