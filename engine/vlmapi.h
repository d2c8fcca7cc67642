/* Velmora engine API: the flat C interface of libvlmapi.so.
   Results are small integers (1 success, 0 or negative failure); texts are
   NUL-terminated UTF-8 strings in caller buffers of at least 1024 bytes.
   Window handles are opaque pointers to the host's Qt objects. */
#ifndef VLMAPI_H
#define VLMAPI_H

#include <stdint.h>

#ifdef __cplusplus
#define VLM_API extern "C" __attribute__((visibility("default")))
#else
#define VLM_API extern __attribute__((visibility("default")))
#endif

/* Message, wParam and lParam of a host message. Parameters are pointer-sized. */
typedef uintptr_t vlm_wparam;
typedef uintptr_t vlm_lparam;

/* Host messages reach the host window as Qt events of this type. The text
   pointer stays valid while the event is being handled. */
typedef struct vlm_host_message {
  unsigned int message;
  vlm_wparam wParam;
  vlm_lparam lParam;
  int64_t extra; /* a third count, e.g. the selected count of HM_HITS */
  const char* text;
} vlm_host_message;
VLM_API int vlm_HostMessageEventType(void);
VLM_API int vlm_ReadHostMessage(void* event, vlm_host_message* out);
VLM_API void vlm_SetHostMessageResult(void* event, intptr_t result);

/* system life cycle */
VLM_API int vlm_InitSystem(void* hostInstance, void* hostWindow, void* hostToolbar,
                           void* hostStatusBar, int applicationId);
VLM_API int vlm_OpenWindow(void);
VLM_API void vlm_CloseWindow(void);
VLM_API void vlm_DeinitSystem(void);
VLM_API int vlm_AppIDToProductVersion(int applicationId, int* applicationKind, int* secondCode);
VLM_API int vlm_Error(const char* text);
VLM_API void vlm_Quit(const char* text);
VLM_API intptr_t vlm_SendMessage(unsigned int message, vlm_wparam wParam, vlm_lparam lParam);
VLM_API int vlm_PostMessage(unsigned int message, vlm_wparam wParam, vlm_lparam lParam);
VLM_API int vlm_IsSaved(void);
VLM_API void vlm_AutoArrange(int mode);
VLM_API int vlm_IsConfirmationRequired(void);
VLM_API void vlm_SetConfirmation(int required);

#endif
