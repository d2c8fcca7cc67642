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

/* view, camera and input */
VLM_API int vlm_DrawScene(void);
/* clientRect: left, top, right, bottom of the 3D view's client area */
VLM_API int vlm_ResizeWindow(void* hostDc, const int* clientRect);
VLM_API int vlm_SetRenderQuality(int quality);
VLM_API int vlm_GetWindowColorDepth(void);
VLM_API int vlm_InvalidateGraphicCache(void);
VLM_API int vlm_DrawSceneAntialiased(void);
/* flags: left 1, right 2, Shift 4, Ctrl 8, middle 0x10 */
VLM_API int vlm_OnButtonDown(int x, int y, int flags);
VLM_API int vlm_OnButtonUp(int x, int y, int flags);
VLM_API int vlm_OnDblclkLeft(int x, int y, int flags);
VLM_API int vlm_OnMouseMove(int x, int y, int flags);
/* wParam: signed wheel distance in the high 16 bits (120 a notch) */
VLM_API int vlm_OnMouseWheel(vlm_wparam wParam, vlm_lparam lParam);
VLM_API int vlm_OnMouseHover(vlm_wparam wParam, vlm_lparam lParam);
VLM_API int vlm_OnMouseLeave(vlm_wparam wParam, vlm_lparam lParam);
/* Windows virtual key codes */
VLM_API int vlm_OnKeyDown(int virtualKey);
VLM_API int vlm_OnKeyUp(int virtualKey);
VLM_API void vlm_SaveMousePosition(int x, int y);
VLM_API void vlm_FixMouse(int mode);
VLM_API int vlm_UpdateView(void);
VLM_API void vlm_Animation(int on);
VLM_API int vlm_IsAnimated(void);
VLM_API void vlm_ResetCameraPosition(void);
VLM_API void vlm_ResetModelPosition(void);
VLM_API void vlm_SetInitPosition(void);
VLM_API int vlm_GetInitPosition(void);
VLM_API void vlm_SetFieldOfView(float degrees);
VLM_API float vlm_GetFieldOfView(void);
VLM_API int vlm_DoThis(int kind);
VLM_API int vlm_UpdateModel(int resetPosition);
/* end of view, camera and input */

/* Each family of exports has its own header. */
#include "engine/vlmapi_data.h"
#include "engine/vlmapi_model.h"
#include "engine/vlmapi_connection.h"
#include "engine/vlmapi_access.h"
#include "engine/vlmapi_excel.h"
#include "engine/vlmapi_scene.h"
#include "engine/vlmapi_selection.h"
#include "engine/vlmapi_host.h"
#include "engine/vlmapi_selector.h"
#include "engine/vlmapi_output.h"
#include "engine/vlmapi_calculator.h"
#include "engine/vlmapi_model_file.h"
#include "engine/vlmapi_sound.h"
#include "engine/vlmapi_registry.h"
#include "engine/vlmapi_tools.h"

#endif
