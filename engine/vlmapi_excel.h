/* spreadsheet workspace exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_EXCEL_H
#define VLMAPI_EXCEL_H

#include "engine/vlmapi.h"

/* start the spreadsheet workspace (made visible); posts and returns 1 */
VLM_API int vlm_ExcelStart(void);
/* open a workbook (.xlsx, .xlsm, .ods, .xls, .csv, .txt) and, when sheetName
   is neither NULL nor empty, activate that sheet; then load its selection */
VLM_API int vlm_ExcelOpen(const char* fileName, const char* sheetName);
/* quit the workspace; posts and returns 1 */
VLM_API int vlm_ExcelQuit(void);
/* 1 when the workspace runs and is visible (an invisible one is told to quit) */
VLM_API int vlm_IsExcelRunning(void);
/* select the sample's source row in the workspace's sheet view */
VLM_API int vlm_JumpExcel(int sample);
/* show the workspace and bring its sheet view to the front */
VLM_API int vlm_SwitchExcel(void);
/* end of spreadsheet workspace */

#endif
