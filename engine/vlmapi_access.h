/* database workspace exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_ACCESS_H
#define VLMAPI_ACCESS_H

#include "engine/vlmapi.h"

/* 1 when the database workspace runs and is visible (an invisible one is told to quit) */
VLM_API int vlm_IsAccessRunning(void);
/* start the workspace / open a database file in it / quit it; each posts and returns 1 */
VLM_API int vlm_AccessStart(void);
VLM_API int vlm_AccessOpen(const char* fileName);
VLM_API int vlm_AccessQuit(void);
/* show sample's record in the workspace's main window */
VLM_API int vlm_JumpAccess(int sample);
/* bring the workspace's main window to the front */
VLM_API int vlm_SwitchAccess(void);
/* end of database workspace */

#endif
