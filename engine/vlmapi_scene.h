/* scene exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_SCENE_H
#define VLMAPI_SCENE_H

#include "engine/vlmapi.h"

/* objects and the automatic model builders: 1 Scatter, 2 Bars, 3 Tiles, 4 Layers */
VLM_API int vlm_GetNumberOfObjects(void);
VLM_API int vlm_CreateDefaultModel(int type);
VLM_API void vlm_SetDefaultModel(int type);
VLM_API int vlm_LoadDefaultModel(int type);
/* drops every association, the default colour ramp, no model name; posts a rebuild */
VLM_API int vlm_ModelReset(void);

/* space settings colours (rows of the space settings table) and the water level */
VLM_API int vlm_GridSetColor(int row, uint32_t colorref);
VLM_API uint32_t vlm_GetColorSetup(int row);
VLM_API void vlm_SetWaterlevel(int on);
VLM_API int vlm_GetWaterlevel(void);

/* the legend switch and its show-all-attributes switch */
VLM_API int vlm_GetLabels(void);
VLM_API void vlm_SetLabels(int on);
VLM_API int vlm_GetDefaultLabels(void);
VLM_API void vlm_SetDefaultLabels(int on);

#endif
