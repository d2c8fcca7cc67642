#pragma once
// The sound and voice commands of the attribute menus: "Sound Effect" picks
// the effect clicked objects play, "Voice Language" the character's language.
// They run on the host thread while a menu is tracked and never wait for the
// data lock.
#include <cstdint>

namespace vlm {

struct EngineState;

constexpr int32_t kFirstEffectCommand = 61230;    // "&Chord" .. "Ta&p": 61230..61235
constexpr int32_t kFirstLanguageCommand = 61240;  // "&American English" .. "&Spanish": 61240..61250

// 61230..61235 set the current effect 0..5 when `attribute` (the menu's sound
// attribute) has a field. True when `id` is one of these commands.
bool runSoundMenuCommand(EngineState& state, int32_t attribute, int32_t id);

// 61240..61250 set the speech language 0..10 (through the data thread) when
// the speech attribute has a field. True when `id` is one of these commands.
bool runVoiceMenuCommand(EngineState& state, int32_t id);

// The command the effect menu checks, and the one the language menu checks.
int32_t checkedEffectCommand(EngineState& state);
int32_t checkedLanguageCommand(EngineState& state);

}  // namespace vlm
