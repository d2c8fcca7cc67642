#include "sound/speech.h"

#include <chrono>
#include <cstring>
#include <functional>

#include "data/text_buffer.h"
#include "data/utf8.h"
#include "data/value_text.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/speech_hooks.h"
#include "engine/worker_thread.h"
#include "platform/host_bridge.h"
#include "platform/library_folder.h"
#include "platform/message_box.h"
#include "platform/report.h"
#include "sound/speech_languages.h"
#include "sound/sound_record.h"

namespace vlm {
namespace {

constexpr size_t kSpeechTextLimit = 4095;
constexpr const char* kCharacterFile = "velmora.acs";
constexpr const char* kSpeechHelpPage = "https://velmora.example/speech.html";
// The character reads addresses and numbers as in an e-mail.
constexpr const char* kContextTag = "\\Ctx=\"E-mail\"\\";

// The settings, the Calculator's rows and the menus belong to the host
// thread: speech changes them there (or here, without a host).
void onHost(const std::function<void()>& work) {
  const intptr_t done = platform::HostBridge::instance().runOnHost([&]() -> intptr_t {
    work();
    return 1;
  });
  if (done != 1) work();
}

void storeInterface(EngineState& state, int32_t speechInterface) {
  onHost([&] { state.main->settings.newerSpeechApi = speechInterface == kSpeechVoice; });
}

void releaseCharacter(SoundRecord& r) {
  r.character.reset();
  r.characterServer.reset();
}

// The character's language, by the language table. Reports a language the
// character does not have, and gives false for any other failure.
bool applyCharacterLanguage(SoundRecord& r, int32_t language) {
  const int32_t id = validSpeechLanguage(language);
  switch (r.character->setLanguageId(speechLanguage(id).languageId)) {
    case platform::LanguageResult::Ok:
      r.speechLanguage.store(id);
      return true;
    case platform::LanguageResult::NotAvailable:
      platform::reportError(
          "LANGUAGE NOT INITIALIZED!  \n\n"
          "This Windows version is not compatible \nwith the selected language.\n\n");
      return true;
    case platform::LanguageResult::Failed:
      break;
  }
  return false;
}

bool startCharacter(EngineState& state, SoundRecord& r) {
  r.characterServer = platform::createCharacterServer();
  if (!r.characterServer) return false;
  storeInterface(state, kSpeechCharacter);
  r.character = r.characterServer->load(characterFilePath(state));
  if (!r.character || !applyCharacterLanguage(r, r.speechLanguage.load()) || !r.character->show()) {
    releaseCharacter(r);
    return false;
  }
  return true;
}

bool startVoice(EngineState& state, SoundRecord& r) {
  r.voice = platform::createSpeechVoice();
  if (!r.voice) return false;
  storeInterface(state, kSpeechVoice);
  return true;
}

bool postSpeechStart(EngineState& state) {
  if (soundRecord(state).speechReady.load() != 0) return true;
  return postData(state, CMD_INIT_SPEECH, static_cast<uintptr_t>(static_cast<intptr_t>(kCurrentSpeechInterface)));
}

}  // namespace

SpeechHooks& speechHooks() {
  static SpeechHooks hooks;
  return hooks;
}

int32_t speechInterfaceOf(const EngineState& state) {
  return state.main->settings.newerSpeechApi ? kSpeechVoice : kSpeechCharacter;
}

bool startSpeech(EngineState& state, int32_t speechInterface) {
  SoundRecord& r = soundRecord(state);
  if (speechInterface == kCurrentSpeechInterface) speechInterface = speechInterfaceOf(state);
  const int32_t wanted = speechInterface == kSpeechCharacter ? kSpeechCharacter : kSpeechVoice;
  if (r.speechReady.load() != 0 && wanted == speechInterfaceOf(state)) return true;
  stopSpeech(state);
  const bool ready = wanted == kSpeechCharacter ? startCharacter(state, r) : startVoice(state, r);
  if (ready) {
    r.speechReady.store(1);
    if (speechHooks().started) onHost([&] { speechHooks().started(state); });
    return true;
  }
  showSpeechWarning(state);
  onHost([&] {
    state.main->settings.speechCalculator = 0;
    if (speechHooks().startFailed) speechHooks().startFailed(state);
  });
  return false;
}

void stopSpeech(EngineState& state) {
  SoundRecord& r = soundRecord(state);
  releaseCharacter(r);
  r.voice.reset();
  r.speechReady.store(0);
}

bool speakNow(EngineState& state, const std::string& text) {
  SoundRecord& r = soundRecord(state);
  if (r.speechReady.load() == 0) return false;
  if (r.character) {
    r.character->stopAll();
    return r.character->speak(kContextTag + text);
  }
  return r.voice && r.voice->speak(text);
}

bool waitForSpeech(EngineState& state, int32_t timeoutMs) {
  SoundRecord& r = soundRecord(state);
  if (r.speechReady.load() == 0) return false;
  if (r.character) return true;  // the character never keeps its caller waiting
  return r.voice && r.voice->waitUntilDone(std::chrono::milliseconds(timeoutMs));
}

void setSpeechLanguageNow(EngineState& state, int32_t language) {
  SoundRecord& r = soundRecord(state);
  if (speechInterfaceOf(state) != kSpeechCharacter) return;  // the voice has one language
  if (!r.character) {
    // Kept for the character's start, so a language read from a model file
    // before speech ran is not lost.
    r.speechLanguage.store(validSpeechLanguage(language));
    return;
  }
  if (!applyCharacterLanguage(r, language)) showSpeechWarning(state);
}

std::string objectSpeechTextLocked(EngineState& state, int32_t sample) {
  const DataTable& table = *state.data;
  const int32_t field = state.model->scene.speechField;
  if (field < 0 || field >= table.fieldCount) return {};
  if (sample < 0 || sample >= table.rowCount.get()) return {};
  const SoundRecord& r = soundRecord(state);
  const int32_t language = r.speechLanguage.load();
  const DataField& f = table.fields[static_cast<size_t>(field)];
  const bool present = static_cast<size_t>(sample) < f.cells.size() &&
                       (f.cells[static_cast<size_t>(sample)].flags & kCellPresent) != 0;
  if (!present) return noValueSpeech(speechInterfaceOf(state), language);
  char text[kTextBufferSize];
  valueText(table, field, sample, text, sizeof text, language == 0 || language == 1, state.main->regional);
  return text;
}

std::string characterFilePath(const EngineState& state) {
  std::string folder = state.main->settings.installRoot;
  if (folder.empty()) folder = platform::libraryFolder();
  if (!folder.empty() && folder.back() != '/') folder.push_back('/');
  return folder + kCharacterFile;
}

void showSpeechWarning(EngineState& state) {
  platform::MessageBoxRequest box;
  box.caption = " WARNING : Speech Output";
  box.text =
      "\nSpeech Output Not Initialized!  \n\n"
      "Your operating system can't generate synthesized speech. \n"
      "After you install Speech features to your system, \n"
      "Velmora will automatically recognize it.\n\n"
      "Step-by-step instructions for doing so can be found \n"
      "at our Web pages and also in the provided documentation.\n\n"
      "Would you like to learn more at the Velmora web site now?";
  box.icon = platform::BoxIcon::Warning;
  box.buttons = platform::BoxButtons::YesNo;
  if (platform::showMessageBox(box) == platform::BOX_YES) {
    SoundRecord& r = soundRecord(state);
    if (r.openWebPage) r.openWebPage(kSpeechHelpPage);
  }
}

std::string speechTextCopy(const char* text) {
  if (!text) return {};
  const std::string_view all(text, strnlen(text, kSpeechTextLimit + 4));
  return std::string(all.substr(0, utf8::cutLength(all, kSpeechTextLimit)));
}

bool postSpeakText(EngineState& state, const char* text) {
  postSpeechStart(state);
  return postData(state, CMD_SPEAK, 0, 0, speechTextCopy(text));
}

bool postSpeakTextWait(EngineState& state, const char* text, int32_t timeoutMs) {
  postSpeechStart(state);
  return postData(state, CMD_SPEAK_WAIT, 0, static_cast<uintptr_t>(static_cast<intptr_t>(timeoutMs)),
                  speechTextCopy(text));
}

bool postSpeakObject(EngineState& state, int32_t sample) {
  return postData(state, CMD_SPEAK, kSpeakSample, static_cast<uintptr_t>(static_cast<intptr_t>(sample)));
}

bool speakSampleNow(EngineState& state, int32_t sample) {
  std::string text;
  {
    platform::DataLockGuard lock(state.main->dataLock);
    text = objectSpeechTextLocked(state, sample);
  }
  return !text.empty() && speakNow(state, speechTextCopy(text.c_str()));
}

}  // namespace vlm
