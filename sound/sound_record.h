#pragma once
// The state of the sound effects and of speech, held by EngineState.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/sound_device.h"
#include "platform/speech_engines.h"
#include "sound/wave_resources.h"

namespace vlm {

struct EngineState;

struct SoundRecord {
  // Sound effects: started, stopped and played on the engine thread; the
  // mutex keeps another thread that changes the effect or plays one out of a
  // start in progress.
  std::mutex mutex;
  std::unique_ptr<platform::SoundDevice> device;
  std::array<std::unique_ptr<platform::SoundBuffer>, kWaveResourceCount> buffers;
  std::atomic<int32_t> soundOn{0};        // 1 when sound was started
  std::atomic<int32_t> currentEffect{0};  // 0..5, chosen in the sound menu

  // Speech: used on the data thread only (the interface is the settings'
  // newerSpeechApi). The character goes before its server.
  std::unique_ptr<platform::SpeechVoice> voice;
  std::unique_ptr<platform::CharacterServer> characterServer;
  std::unique_ptr<platform::SpeechCharacter> character;
  std::atomic<int32_t> speechReady{0};
  std::atomic<int32_t> speechLanguage{0};  // 0..10
  // A start asked for by the scene construction is queued: a rebuild asks
  // for one only when none is.
  std::atomic<int32_t> startQueued{0};
  // Opens a web page in the user's browser (the speech warning's Yes);
  // vlm_StartWebBrowser unless a test records it.
  std::function<void(const char* address)> openWebPage;
};

// The state's record (made at start).
SoundRecord& soundRecord(EngineState& state);

}  // namespace vlm
