#include "engine/sound_speech_link.h"

namespace vlm {

SoundSpeechLink& soundSpeechLink() {
  static SoundSpeechLink link;
  return link;
}

}  // namespace vlm
