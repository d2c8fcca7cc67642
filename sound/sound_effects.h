#pragma once
// Sound effects: the recordings as buffers of the sound device, started when
// a sound attribute is used and played when an object is clicked.
#include <cstdint>

namespace vlm {

struct EngineState;
struct ObjectRecord;

// Makes the device and one buffer per recording; 1 on success, 0 (reported)
// when a buffer or the output cannot be made. Without a device it reports so
// and gives 1: sound is then on without buffers and plays nothing.
int32_t startSound(EngineState& state, void* hostWindow);

// Releases the buffers and the device.
void stopSound(EngineState& state);

// Plays the current effect at the object's pitch and loudness, or the "NO"
// recording for an object without a value. 1 when playing started.
int32_t playObject(EngineState& state, int32_t object);

// Plays effect `effect` from its start at `frequency` Hz (0: the recording's
// own rate) and `volume` hundredths of a decibel. 1 when playing started.
int32_t playEffect(EngineState& state, int32_t effect, uint32_t frequency, int32_t volume);

struct ObjectSound {
  int32_t effect;
  uint32_t frequency;  // Hz, 0 for the recording's own rate
  int32_t volume;      // hundredths of a decibel
};
// What an object plays: frequency values 0..100 give 5000..16000 Hz, volume
// values 0..100 give -20..0 dB; a negative value plays "NO" unchanged.
ObjectSound objectSound(const ObjectRecord& object, int32_t currentEffect);

// Sets the current effect 0..5 (others are ignored); true when it was set.
bool setCurrentEffect(EngineState& state, int32_t effect);

}  // namespace vlm
