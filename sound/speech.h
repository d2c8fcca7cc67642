#pragma once
// Speech output through the character (with a voice per language) or the
// voice. Everything but the posting runs on the data thread, in order.
#include <cstdint>
#include <string>

namespace vlm {

struct EngineState;

// 0 the character, 1 the voice (the settings' "SpeechAPI", which a start
// changes on the host thread).
int32_t speechInterfaceOf(const EngineState& state);

// What a speak request asks to start: the interface current when the start
// runs, so that an interface chosen just before (and still queued) is kept.
constexpr int32_t kCurrentSpeechInterface = -1;

// Starts interface `speechInterface` (or kCurrentSpeechInterface) unless it
// is the one already running.
// True when speech is ready; otherwise the speech warning was shown and the
// "Speech Calculator" option is off (the caller removes the speech association).
bool startSpeech(EngineState& state, int32_t speechInterface);
void stopSpeech(EngineState& state);

// Speaks the text and returns; false without a running back end.
bool speakNow(EngineState& state, const std::string& text);
// Waits for the voice at most `timeoutMs` (negative: no limit); the character
// does not wait. False without a running back end.
bool waitForSpeech(EngineState& state, int32_t timeoutMs);
// Sets the character's language (ids outside 0..10 mean 0).
void setSpeechLanguageNow(EngineState& state, int32_t language);

// The text spoken for a clicked sample: its value in the speech field, or the
// no-value text of the back end and language; empty when there is no speech
// field. Reads the table: the caller holds the data lock.
std::string objectSpeechTextLocked(EngineState& state, int32_t sample);

// Where the character file is: the installation folder, or the engine
// library's own folder while none is registered, + "velmora.acs".
std::string characterFilePath(const EngineState& state);

// The box shown when speech cannot start; Yes opens the speech help page.
void showSpeechWarning(EngineState& state);

// Posting from any thread: each text travels as a copy of at most 4095 bytes.
// A speak request while speech is not ready asks for a start first.
bool postSpeakText(EngineState& state, const char* text);
bool postSpeakTextWait(EngineState& state, const char* text, int32_t timeoutMs);
// Speaks a sample's text (nothing without a speech field). The text is made
// on the data thread, so that a language chosen before the click applies.
bool postSpeakObject(EngineState& state, int32_t sample);
constexpr uintptr_t kSpeakSample = 1;  // CMD_SPEAK's wParam: lParam is a sample
// Makes the sample's text under the data lock and speaks it.
bool speakSampleNow(EngineState& state, int32_t sample);

// Cuts a text to 4095 bytes, at a UTF-8 character boundary.
std::string speechTextCopy(const char* text);

}  // namespace vlm
