/* the registry store for the host's installation and removal; included by
   engine/vlmapi.h. */
#ifndef VLMAPI_REGISTRY_H
#define VLMAPI_REGISTRY_H

#include "engine/vlmapi.h"

/* Roots. Class registrations are written to the user's part of the classes
   root; machine keys under "SOFTWARE\" that the machine store refuses (a user
   without the right to write it) go to the user's virtual store and are read
   from there first. */
#define VLM_HKEY_CLASSES_ROOT 0
#define VLM_HKEY_CURRENT_USER 1
#define VLM_HKEY_LOCAL_MACHINE 2

/* A null or empty name is the key's default value. Writes create the key and
   return 1 when the store holds the value afterwards, 0 otherwise. They work
   with or without a running engine. */
VLM_API int vlm_WriteRegistryText(int root, const char* key, const char* name, const char* text);
VLM_API int vlm_WriteRegistryDword(int root, const char* key, const char* name, uint32_t value);
VLM_API int vlm_CreateRegistryKey(int root, const char* key);
/* deletes the key with its values and every key below it; 1 when nothing of
   it is left afterwards (also when there was none), 0 when some of it stays */
VLM_API int vlm_DeleteRegistryKey(int root, const char* key);
/* Reads see what the store's files hold now, also when another process
   changed them. */
/* 1 when the key exists; with `withSubKeys`, also when only keys below it do */
VLM_API int vlm_IsRegistryKey(int root, const char* key, int withSubKeys);
/* copies at most size - 1 bytes and a NUL; returns the stored length, or -1
   when there is no such text value (the buffer is then empty) */
VLM_API int vlm_ReadRegistryText(int root, const char* key, const char* name, char* buffer, int size);
/* 1 and the value when there is such a DWORD value, else 0 */
VLM_API int vlm_ReadRegistryDword(int root, const char* key, const char* name, uint32_t* value);

#endif
