#include "sound/sound_effects.h"

#include <cstdio>

#include "engine/engine_state.h"
#include "platform/report.h"
#include "scene/object_record.h"
#include "sound/riff_wave.h"
#include "sound/sound_record.h"

namespace vlm {
namespace {

// With the record's mutex held.
void releaseLocked(SoundRecord& r) {
  for (auto& b : r.buffers) b.reset();
  r.device.reset();
}

// Copies the recording into its buffer, as at start and after a restore.
bool loadSamples(platform::SoundBuffer& buffer, const WaveFile& wave) {
  return buffer.write(wave.samples.data(), wave.samples.size());
}

bool readResource(int32_t index, WaveFile& wave) {
  return parseWaveFile(findWaveResource(waveResourceInfo(index).resource), wave);
}

void reportNamed(const char* pattern, const char* name) {
  char text[128];
  std::snprintf(text, sizeof text, pattern, name);
  platform::reportError(text);
}

}  // namespace

int32_t startSound(EngineState& state, void* hostWindow) {
  SoundRecord& r = soundRecord(state);
  std::lock_guard lock(r.mutex);
  releaseLocked(r);
  r.device = platform::createSoundDevice();
  if (!r.device) {
    platform::reportError("DirectSoundCreate FAILED");
  } else if (!r.device->setCooperativeLevel(hostWindow)) {
    r.device.reset();
    platform::reportError("SetCooperativeLevel FAILED");
  }
  // Without a device sound goes on without buffers: playing finds none.
  if (!r.device) return 1;

  for (int32_t k = 0; k < kWaveResourceCount; ++k) {
    WaveFile wave;
    std::unique_ptr<platform::SoundBuffer> buffer;
    if (readResource(k, wave)) buffer = r.device->createBuffer(wave.format, wave.samples.size());
    if (!buffer || !loadSamples(*buffer, wave)) {
      releaseLocked(r);
      platform::reportError("Unable to initialize Sound subsystem.");
      return 0;
    }
    r.buffers[static_cast<size_t>(k)] = std::move(buffer);
  }
  if (!r.device->createPrimaryBuffer()) {
    releaseLocked(r);
    platform::reportError("Unable to initialize Sound Effects.");
    return 0;
  }
  if (!r.device->playPrimaryLooping()) {
    releaseLocked(r);
    platform::reportError("Unable to initialize Sound subsystem.");
    return 0;
  }
  return 1;
}

void stopSound(EngineState& state) {
  SoundRecord& r = soundRecord(state);
  std::lock_guard lock(r.mutex);
  releaseLocked(r);
}

ObjectSound objectSound(const ObjectRecord& o, int32_t currentEffect) {
  if (o.soundVolume < 0.0f || o.soundFrequency < 0.0f) return {kEffectNo, 0, 0};
  const auto f = static_cast<int32_t>(o.soundFrequency);
  const auto v = static_cast<int32_t>(o.soundVolume);
  return {currentEffect, static_cast<uint32_t>(f * 11000 / 100 + 5000), v * 2000 / 100 - 2000};
}

int32_t playObject(EngineState& state, int32_t object) {
  const ModelRecord& m = *state.model;
  if (object < 0 || static_cast<size_t>(object) >= m.objects.size() || object >= m.objectCount) return 0;
  const ObjectSound s = objectSound(m.objects[static_cast<size_t>(object)], soundRecord(state).currentEffect.load());
  return playEffect(state, s.effect, s.frequency, s.volume);
}

int32_t playEffect(EngineState& state, int32_t effect, uint32_t frequency, int32_t volume) {
  if (effect < 0 || effect >= kWaveResourceCount) return 0;
  SoundRecord& r = soundRecord(state);
  std::lock_guard lock(r.mutex);
  // Sound may be on without buffers (no device at start): nothing to play.
  platform::SoundBuffer* buffer = r.buffers[static_cast<size_t>(effect)].get();
  if (!buffer) return 0;
  buffer->setCurrentPosition(0);
  buffer->setFrequency(frequency);
  buffer->setVolume(volume);
  platform::PlayResult result = buffer->play();
  if (result == platform::PlayResult::BufferLost) {
    const char* name = waveResourceInfo(effect).resource;
    reportNamed("** %s needs restored", name);
    WaveFile wave;
    if (!buffer->restore() || !readResource(effect, wave) || !loadSamples(*buffer, wave)) return 0;
    reportNamed("** %s has been restored", name);
    buffer->setCurrentPosition(0);
    result = buffer->play();
  }
  return result == platform::PlayResult::Playing ? 1 : 0;
}

bool setCurrentEffect(EngineState& state, int32_t effect) {
  if (effect < 0 || effect >= kMenuEffectCount) return false;
  soundRecord(state).currentEffect.store(effect);
  return true;
}

}  // namespace vlm
