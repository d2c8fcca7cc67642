#pragma once
// What the popup menus ask of sound that no command carries: the current
// sound effect. The sound subsystem installs these once at start; an empty
// function stands for "not there yet": the command is accepted and does
// nothing, and its menu item carries no check mark.
#include <cstdint>
#include <functional>

namespace vlm {

struct EngineState;

struct SoundSpeechLink {
  // The current sound effect 0..5 of the Sound Effect menu.
  std::function<void(EngineState&, int32_t effect)> setEffect;
  std::function<int32_t(EngineState&)> effect;
};
// The Voice Language menu sets the language on the data thread with
// CMD_SPEECH_LANGUAGE, as vlm_SpeechLanguage does.

SoundSpeechLink& soundSpeechLink();

}  // namespace vlm
