#include "sound/speech_languages.h"

namespace vlm {
namespace {

constexpr SpeechLanguage kLanguages[kSpeechLanguageCount] = {
    {"American English", "&American English", 1033},
    {"British English", "&British English", 2057},
    {"Dutch", "&Dutch", 1043},
    {"French", "&French", 1036},
    {"German", "&German", 1031},
    {"Italian", "&Italian", 1040},
    {"Japanese", "&Japanese", 1041},
    {"Korean", "&Korean", 1042},
    {"Portuguese", "&Portuguese", 1046},
    {"Russian", "&Russian", 1049},
    {"Spanish", "&Spanish", 3082},
};

}  // namespace

int32_t validSpeechLanguage(int32_t id) { return id >= 0 && id < kSpeechLanguageCount ? id : 0; }

const SpeechLanguage& speechLanguage(int32_t id) { return kLanguages[validSpeechLanguage(id)]; }

const char* noValueSpeech(int32_t speechInterface, int32_t language) {
  const bool german = language == kSpeechLanguageGerman;
  if (speechInterface == kSpeechCharacter) return german ? "\\emp\\Kein data" : "No \\emp\\data";
  return german ? "Kein data" : "No data";
}

}  // namespace vlm
