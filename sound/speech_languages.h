#pragma once
// The speech languages of the character and the texts spoken for a sample
// without a value.
#include <cstdint>

namespace vlm {

constexpr int32_t kSpeechLanguageCount = 11;
constexpr int32_t kSpeechLanguageGerman = 4;

struct SpeechLanguage {
  const char* name;      // "American English", as the model file stores it
  const char* menuText;  // "&American English"
  int32_t languageId;    // the Windows language id handed to the character
};

// Ids outside 0..10 give entry 0 (American English).
const SpeechLanguage& speechLanguage(int32_t id);
int32_t validSpeechLanguage(int32_t id);

// Speech interfaces: the character (older) and the voice (newer).
constexpr int32_t kSpeechCharacter = 0;
constexpr int32_t kSpeechVoice = 1;

// "No \emp\data" / "\emp\Kein data" for the character, "No data" / "Kein
// data" for the voice, by language.
const char* noValueSpeech(int32_t speechInterface, int32_t language);

}  // namespace vlm
