/* selection exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_SELECTION_H
#define VLMAPI_SELECTION_H

#include "engine/vlmapi.h"

/* Selection of samples. The changing exports post their work to the engine
   thread, which runs it under the data lock; they return the result of posting.
   Selected object type: 0 a sample or nothing, 1 a sample selected through
   vlm_SelectObject, 2 an attribute element (the index is its attribute). */
VLM_API int vlm_GetSelectionState(void);
/* state 0 also clears the selection */
VLM_API int vlm_SetSelectionState(int state);
VLM_API int vlm_SelectionInvert(void);
/* a sample index toggles its flag; 2000000000 starts the water level drag;
   2000000100..2000000200 takes that legend element */
VLM_API int vlm_SelectObject(int name);
/* removes the selected samples; with none selected the table stays as it is */
VLM_API int vlm_DeleteSelected(void);
VLM_API int vlm_GetNumberOfSelected(void);
/* the sample's flag (0, 1 or 6); 0 outside the table */
VLM_API int vlm_IsObjectSelected(int sample);
VLM_API int vlm_GetSelectedObjectType(void);
VLM_API void vlm_SetSelectedObjectType(int type);
VLM_API int vlm_GetSelectedObjectIndex(void);
VLM_API int vlm_GetSelectedObject(void);
VLM_API void vlm_SetSelectedObjectIndex(int index);

#endif
