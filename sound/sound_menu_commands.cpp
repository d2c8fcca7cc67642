#include "sound/sound_menu_commands.h"

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/worker_thread.h"
#include "model/association_lookup.h"
#include "sound/sound_effects.h"
#include "sound/sound_record.h"
#include "sound/speech_languages.h"

namespace vlm {

bool runSoundMenuCommand(EngineState& state, int32_t attribute, int32_t id) {
  if (id < kFirstEffectCommand || id >= kFirstEffectCommand + kMenuEffectCount) return false;
  if (attributeToField(state.model->associations, attribute) >= 0) setCurrentEffect(state, id - kFirstEffectCommand);
  return true;
}

bool runVoiceMenuCommand(EngineState& state, int32_t id) {
  if (id < kFirstLanguageCommand || id >= kFirstLanguageCommand + kSpeechLanguageCount) return false;
  if (attributeToField(state.model->associations, ATTRIB_SPEECH) >= 0)
    postData(state, CMD_SPEECH_LANGUAGE, static_cast<uintptr_t>(id - kFirstLanguageCommand));
  return true;
}

int32_t checkedEffectCommand(EngineState& state) {
  return kFirstEffectCommand + soundRecord(state).currentEffect.load();
}

int32_t checkedLanguageCommand(EngineState& state) {
  return kFirstLanguageCommand + validSpeechLanguage(soundRecord(state).speechLanguage.load());
}

}  // namespace vlm
