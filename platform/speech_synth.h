#pragma once
// Speech synthesis with espeak-ng: text to 16-bit mono PCM in one of the
// languages espeak-ng ships. The engine is process-wide; calls are serialised.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vlm::platform {

struct PcmClip {
  int rate = 0;
  std::vector<int16_t> samples;
};

// Whether the synthesiser and its voice data can be used.
bool speechSynthAvailable();

// Whether espeak-ng has a voice for the language ("en-us", "de", ...).
bool hasSpeechLanguage(std::string_view language);

// Speaks `text` in `language` into `out`. With `ssml` the text is an SSML
// document (<speak>, <emphasis>, <break>); otherwise it is read as it stands.
bool synthesise(std::string_view language, std::string_view text, bool ssml, PcmClip& out);

// Writes the clip as a PCM wave file (16-bit mono at the clip's rate).
bool writeWaveFile(const std::string& path, const PcmClip& clip);

}  // namespace vlm::platform
