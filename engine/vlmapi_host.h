/* the host program's own settings; included by engine/vlmapi.h. */
#ifndef VLMAPI_HOST_H
#define VLMAPI_HOST_H

#include "engine/vlmapi.h"

/* Values under HKEY_CURRENT_USER "SOFTWARE\Velmora\Velmora.Access\" in the
   settings store. They work with or without a running engine. */
VLM_API uint32_t vlm_ReadHostDword(const char* name, uint32_t defaultValue);
/* writes only when the value differs from what is stored, or, with nothing
   stored, from `defaultValue`; 1 when the store holds the value afterwards */
VLM_API int vlm_WriteHostDword(const char* name, uint32_t value, uint32_t defaultValue);
/* copies at most size - 1 bytes and a NUL; returns the stored length, or -1
   when the value does not exist (the buffer is then empty) */
VLM_API int vlm_ReadHostText(const char* name, char* buffer, int size);
VLM_API int vlm_WriteHostText(const char* name, const char* text);

#endif
