/* tools exports of the engine API: popup menus, the Grid, Setup Options and
   help; included by engine/vlmapi.h. All of them run on the host thread. */
#ifndef VLMAPI_TOOLS_H
#define VLMAPI_TOOLS_H

#include "engine/vlmapi.h"

/* Shows the floating menu of a pick name at the pointer and carries out the
   chosen command; returns its id, 0 when the menu was dismissed. */
VLM_API int vlm_ShowFloatingMenu(vlm_wparam name);
/* Shows the Grid menu of a Grid row; returns the chosen id (61170 Setup,
   61171 Grid, 40125 Close Grid) for the host to carry out, 0 for none. */
VLM_API int vlm_ShowGridMenu(vlm_wparam row, vlm_lparam unused);

VLM_API void vlm_OpenGrid(void);
VLM_API void vlm_CloseGrid(void);
VLM_API int vlm_IsGridOn(void);

VLM_API void vlm_OpenSetup(void);
VLM_API void vlm_CloseSetup(void);

/* Opens the help pages at a topic: 0 the legend line under the pointer, 100
   contents, 101 index, 102 search, 110 quick card, 120 the Grid, 121 Setup,
   ... (unknown topics open the quick card). */
VLM_API void vlm_Help(int topic);

#endif
