/* speech; included by engine/vlmapi.h. Every function posts to the data
   thread and returns the post's result (1 posted, 0 no engine). */
#ifndef VLMAPI_SOUND_H
#define VLMAPI_SOUND_H

#include "engine/vlmapi.h"

/* speechInterface: 0 the speaking character, 1 the voice */
VLM_API int vlm_InitSpeech(int speechInterface);
VLM_API int vlm_CloseSpeech(void);
/* language 0..10: American English, British English, Dutch, French, German,
   Italian, Japanese, Korean, Portuguese, Russian, Spanish (others mean 0);
   only the character has languages */
VLM_API int vlm_SpeechLanguage(int language);
/* the voice: the data thread waits until it is done, at most timeoutMs */
VLM_API int vlm_SpeechWait(int timeoutMs);
/* texts longer than 4095 bytes are cut; speech starts first when it is not ready */
VLM_API int vlm_SpeakText(const char* text);
VLM_API int vlm_SpeakTextWait(const char* text, int timeoutMs);
/* the sample's value in the speech field; 0 when no field is on speech */
VLM_API int vlm_SpeakObject(int sample);

#endif
