/* data exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_DATA_H
#define VLMAPI_DATA_H

#include "engine/vlmapi.h"

/* The data table. Field and sample indexes outside the table give empty
   answers. Text buffers hold at least 1024 bytes. */
VLM_API int vlm_InitializeDataMemory(void);
VLM_API int vlm_GetFieldName(int field, char* buffer);
VLM_API int vlm_GetFieldType(int field);
VLM_API int vlm_IsFieldValid(int field);
VLM_API int vlm_GetNumberOfFields(void);
VLM_API int vlm_GetNumberOfHits(void);
VLM_API int vlm_GetModelName(char* buffer);
VLM_API int vlm_GetRowIndex(int dataSourceKind, int sample);
VLM_API int vlm_GetFirstAvailableField(void);
VLM_API int vlm_GetNextAvailableField(void);
VLM_API int vlm_GetValueAsText(int field, int sample, char* buffer, int group);
VLM_API int vlm_GetSampleAsText(int field, int entry, char* buffer);
VLM_API int vlm_GetFieldValueAsText(int field, int which, char* buffer);

#endif
