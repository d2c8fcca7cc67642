/* Selector exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_SELECTOR_H
#define VLMAPI_SELECTOR_H

#include "engine/vlmapi.h"

/* The Selector window: one query row per field; a sample is selected when it
   passes every row. The window belongs to the host thread; its edits and the
   menu commands are applied by the engine thread, which posts HM_HITS after
   every selection computation. */
VLM_API void vlm_OpenSelector(void);
VLM_API void vlm_CloseSelector(void);
/* 1 while the window is open */
VLM_API int vlm_IsSelectorOn(void);
/* a Selector menu command (61071..61081) on the field's row; item is the list
   item to redraw. Returns the result of posting. */
VLM_API int vlm_UpdateSelector(int command, int field, int item);
/* steps the field's Item Slider every 500 ms until a click or a cancel; a
   number that names no field plays the current row */
VLM_API void vlm_PlaySlider(int field);
/* item: (value index << 16) | field; listItem: the list item */
VLM_API void vlm_ShowSelectorMenu(vlm_wparam item, vlm_lparam listItem);

#endif
