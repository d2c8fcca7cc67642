// The speech commands of the data thread, and the hooks through which the
// scene construction and the mouse reach sound and speech.
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "platform/command_queue.h"
#include "sound/sound_effects.h"
#include "sound/sound_hooks.h"
#include "sound/sound_record.h"
#include "sound/speech.h"

namespace vlm {
namespace {

int32_t intParam(uintptr_t p) { return static_cast<int32_t>(static_cast<intptr_t>(p)); }

// When speech cannot start, the model keeps no speech attribute.
bool onInitSpeech(EngineState& state, const platform::Command& c) {
  soundRecord(state).startQueued.store(0);
  if (startSpeech(state, intParam(c.wParam))) return true;
  bool deleted = false;
  {
    platform::DataLockGuard lock(state.main->dataLock);
    state.model->scene.speechActive = false;
    const int32_t index = attributeToAssociation(state.model->associations, ATTRIB_SPEECH);
    if (index >= 0) {
      ModelContext ctx = modelContext(state);
      deleted = deleteAssociationLocked(ctx, index) != 0;
    }
  }
  if (deleted) postEngine(state, CMD_UPDATE_MODEL, 0);
  return false;
}

bool onCloseSpeech(EngineState& state, const platform::Command&) {
  stopSpeech(state);
  return true;
}

bool onSpeechLanguage(EngineState& state, const platform::Command& c) {
  setSpeechLanguageNow(state, intParam(c.wParam));
  return true;
}

bool onSpeechWait(EngineState& state, const platform::Command& c) {
  return waitForSpeech(state, intParam(c.wParam));
}

bool onSpeak(EngineState& state, const platform::Command& c) {
  if (c.wParam == kSpeakSample) return speakSampleNow(state, intParam(c.lParam));
  return speakNow(state, c.text);
}

bool onSpeakWait(EngineState& state, const platform::Command& c) {
  return speakNow(state, c.text) && waitForSpeech(state, intParam(c.lParam));
}

// Speech closes before the data thread ends; whatever else ends with the
// thread runs after it.
CommandHandler g_quitBefore = nullptr;

bool onQuitDataThread(EngineState& state, const platform::Command& c) {
  if (g_quitBefore) g_quitBefore(state, c);
  stopSpeech(state);
  return true;
}

// A click on a sample speaks it while a field is on the speech attribute,
// else plays its sound while sound is on. The button handler holds the lock.
void sampleClicked(EngineState& state, int32_t sample) {
  if (!state.main->sound) return;  // a state set up without sound and speech
  if (state.model->scene.speechActive) postSpeakObject(state, sample);
  else if (soundRecord(state).soundOn.load() != 0) playObject(state, sample);
}

}  // namespace

SoundRecord& soundRecord(EngineState& state) { return *state.main->sound; }

void registerSoundHandlers() {
  HandlerTable& t = dataHandlers();
  t.set(CMD_INIT_SPEECH, &onInitSpeech);
  t.set(CMD_CLOSE_SPEECH, &onCloseSpeech);
  t.set(CMD_SPEECH_LANGUAGE, &onSpeechLanguage);
  t.set(CMD_SPEECH_WAIT, &onSpeechWait);
  t.set(CMD_SPEAK, &onSpeak);
  t.set(CMD_SPEAK_WAIT, &onSpeakWait);
  if (t.find(CMD_QUIT_DATA_THREAD) != &onQuitDataThread) {
    g_quitBefore = t.find(CMD_QUIT_DATA_THREAD);
    t.set(CMD_QUIT_DATA_THREAD, &onQuitDataThread);
  }
  interactionHooks().sampleClicked = sampleClicked;
}

void installSoundHooks(EngineState& state) {
  state.main->sound = std::make_shared<SoundRecord>();
  state.main->sound->openWebPage = [](const char* address) { vlm_StartWebBrowser(address); };
  EngineState* s = &state;  // the hooks live in the state they point at
  ModelHooks& h = state.model->hooks;
  // Every scene construction starts with sound off; the first sound
  // association of the rebuild starts it again.
  h.stopSound = [s] {
    stopSound(*s);
    soundRecord(*s).soundOn.store(0);
  };
  h.openSound = [s] {
    SoundRecord& r = soundRecord(*s);
    if (r.soundOn.load() != 0) return true;
    r.soundOn.store(startSound(*s, s->main->hostWindow));
    return r.soundOn.load() != 0;
  };
  h.speechActive = [s](int32_t field) {
    s->model->scene.speechActive = true;
    s->model->scene.speechField = field;
    SoundRecord& r = soundRecord(*s);
    if (r.speechReady.load() == 0 && r.startQueued.exchange(1) == 0)
      postData(*s, CMD_INIT_SPEECH, static_cast<uintptr_t>(static_cast<intptr_t>(kCurrentSpeechInterface)));
  };
  h.speak = [s](const char* text) { postSpeakText(*s, text); };
}

}  // namespace vlm
