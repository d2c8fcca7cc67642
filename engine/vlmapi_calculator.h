/* Calculator exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_CALCULATOR_H
#define VLMAPI_CALCULATOR_H

#include "engine/vlmapi.h"

/* The Calculator window: statistics (Count, Percent, Min, Max, Sum, Average)
   of the selected samples, one row each, recalculated after every selection
   change while the window is open. The window belongs to the host thread. */
VLM_API void vlm_OpenCalculator(void);
VLM_API void vlm_CloseCalculator(void);
/* 1 while the window exists and is open */
VLM_API int vlm_IsCalculatorOn(void);
/* recalculates every row and shows the results */
VLM_API void vlm_CalculateNow(void);
/* a Calculator menu command (61321 .. 61350 + field) on a row; -1: no row */
VLM_API void vlm_UpdateCalculator(int command, int row);
/* shows the Calculator menu for a row at the pointer and carries out the choice */
VLM_API void vlm_ShowCalculatorMenu(vlm_wparam row, vlm_lparam listItem);

#endif
