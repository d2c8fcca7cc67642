// Exported speech functions: each posts its command to the data thread.
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "sound/speech.h"

using namespace vlm;

namespace {

uintptr_t param(int value) { return static_cast<uintptr_t>(static_cast<intptr_t>(value)); }

int posted(bool ok) { return ok ? 1 : 0; }

}  // namespace

VLM_API int vlm_InitSpeech(int speechInterface) {
  auto state = currentState();
  return state ? posted(postData(*state, CMD_INIT_SPEECH, param(speechInterface))) : 0;
}

VLM_API int vlm_CloseSpeech(void) {
  auto state = currentState();
  return state ? posted(postData(*state, CMD_CLOSE_SPEECH)) : 0;
}

VLM_API int vlm_SpeechLanguage(int language) {
  auto state = currentState();
  return state ? posted(postData(*state, CMD_SPEECH_LANGUAGE, param(language))) : 0;
}

VLM_API int vlm_SpeechWait(int timeoutMs) {
  auto state = currentState();
  return state ? posted(postData(*state, CMD_SPEECH_WAIT, param(timeoutMs))) : 0;
}

VLM_API int vlm_SpeakText(const char* text) {
  auto state = currentState();
  return state ? posted(postSpeakText(*state, text)) : 0;
}

VLM_API int vlm_SpeakTextWait(const char* text, int timeoutMs) {
  auto state = currentState();
  return state ? posted(postSpeakTextWait(*state, text, timeoutMs)) : 0;
}

VLM_API int vlm_SpeakObject(int sample) {
  auto state = currentState();
  return state ? posted(postSpeakObject(*state, sample)) : 0;
}
