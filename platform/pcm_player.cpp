#include "platform/pcm_player.h"

#include <AL/al.h>

#include <thread>

#include "platform/audio_device.h"

namespace vlm::platform {

std::shared_ptr<PcmPlayer> PcmPlayer::open() {
  auto device = acquireAudioDevice();
  if (!device) return nullptr;
  std::shared_ptr<PcmPlayer> player(new PcmPlayer(std::move(device)));
  alGetError();
  ALuint source = 0, buffer = 0;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  player->source_ = source;
  alGenBuffers(1, &buffer);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  player->buffer_ = buffer;
  alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
  return player;
}

PcmPlayer::~PcmPlayer() {
  ALuint source = source_, buffer = buffer_;
  if (source) {
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    alDeleteSources(1, &source);
  }
  if (buffer) alDeleteBuffers(1, &buffer);
}

bool PcmPlayer::play(const int16_t* samples, size_t count, int rate) {
  stop();
  if (count == 0 || rate <= 0) return true;  // nothing to say
  alGetError();
  alBufferData(buffer_, AL_FORMAT_MONO16, samples, static_cast<ALsizei>(count * sizeof(int16_t)), rate);
  alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
  alSourcePlay(source_);
  return alGetError() == AL_NO_ERROR;
}

void PcmPlayer::stop() {
  alSourceStop(source_);
  alSourcei(source_, AL_BUFFER, 0);
}

bool PcmPlayer::isPlaying() const {
  ALint state = AL_STOPPED;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

bool PcmPlayer::waitUntilDone(std::chrono::milliseconds timeout) const {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (isPlaying()) {
    if (timeout.count() >= 0 && std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace vlm::platform
