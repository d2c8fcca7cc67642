#include "platform/speech_synth.h"

#include <espeak-ng/speak_lib.h>

#include <cstdio>
#include <cstring>
#include <mutex>

namespace vlm::platform {
namespace {

std::mutex g_mutex;
int g_rate = 0;          // the synthesiser's output rate once started
bool g_started = false;  // one start attempt per process
std::vector<int16_t>* g_target = nullptr;

int collect(short* wave, int count, espeak_EVENT*) {
  if (wave && count > 0 && g_target) g_target->insert(g_target->end(), wave, wave + count);
  return 0;
}

// With g_mutex held.
bool startLocked() {
  if (!g_started) {
    g_started = true;
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
    if (rate > 0) {
      g_rate = rate;
      espeak_SetSynthCallback(collect);
    }
  }
  return g_rate > 0;
}

// With g_mutex held.
bool selectLanguageLocked(std::string_view language) {
  const std::string name(language);
  espeak_VOICE wanted{};
  wanted.languages = name.c_str();
  return espeak_SetVoiceByProperties(&wanted) == EE_OK;
}

void put16(std::FILE* f, uint16_t v) {
  const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
  std::fwrite(b, 1, 2, f);
}

void put32(std::FILE* f, uint32_t v) {
  put16(f, static_cast<uint16_t>(v));
  put16(f, static_cast<uint16_t>(v >> 16));
}

}  // namespace

bool speechSynthAvailable() {
  std::lock_guard lock(g_mutex);
  return startLocked();
}

bool hasSpeechLanguage(std::string_view language) {
  std::lock_guard lock(g_mutex);
  return startLocked() && selectLanguageLocked(language);
}

bool synthesise(std::string_view language, std::string_view text, bool ssml, PcmClip& out) {
  std::lock_guard lock(g_mutex);
  out.samples.clear();
  out.rate = 0;
  if (!startLocked() || !selectLanguageLocked(language)) return false;
  const std::string copy(text);  // espeak-ng wants a NUL-terminated text
  unsigned flags = espeakCHARS_UTF8;
  if (ssml) flags |= espeakSSML;
  g_target = &out.samples;
  const espeak_ERROR r = espeak_Synth(copy.c_str(), copy.size() + 1, 0, POS_CHARACTER, 0, flags, nullptr, nullptr);
  g_target = nullptr;
  out.rate = g_rate;
  return r == EE_OK;
}

bool writeWaveFile(const std::string& path, const PcmClip& clip) {
  if (clip.rate <= 0) return false;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const auto dataBytes = static_cast<uint32_t>(clip.samples.size() * 2);
  std::fwrite("RIFF", 1, 4, f);
  put32(f, 36 + dataBytes);
  std::fwrite("WAVEfmt ", 1, 8, f);
  put32(f, 16);
  put16(f, 1);  // PCM
  put16(f, 1);  // mono
  put32(f, static_cast<uint32_t>(clip.rate));
  put32(f, static_cast<uint32_t>(clip.rate) * 2);
  put16(f, 2);
  put16(f, 16);
  std::fwrite("data", 1, 4, f);
  put32(f, dataBytes);
  for (int16_t s : clip.samples) put16(f, static_cast<uint16_t>(s));
  const bool ok = std::ferror(f) == 0;
  return std::fclose(f) == 0 && ok;
}

}  // namespace vlm::platform
