#pragma once
// What the popup menus and the Setup window ask of sound and speech. The sound
// and speech subsystem installs these once at start; an empty function stands
// for "not there yet": the command is accepted and does nothing, and its menu
// item carries no check mark.
#include <cstdint>
#include <functional>

namespace vlm {

struct EngineState;

struct SoundSpeechLink {
  // The current sound effect 0..5 of the Sound Effect menu.
  std::function<void(EngineState&, int32_t effect)> setEffect;
  std::function<int32_t(EngineState&)> effect;
  // The speech language 0..10 of the Voice Language menu (the language itself
  // is set on the data thread by CMD_SPEECH_LANGUAGE).
  std::function<int32_t(EngineState&)> speechLanguage;
};

SoundSpeechLink& soundSpeechLink();

}  // namespace vlm
