/* connection exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_CONNECTION_H
#define VLMAPI_CONNECTION_H

#include "engine/vlmapi.h"

/* data connection and loading */
/* mode: 0 or less by application kind, 1 Excel, 2 Access, 3 clipboard; returns 1 */
VLM_API int vlm_InitConnection(int mode);
VLM_API int vlm_CloseConnection(void);
/* reloads the current data; 1, or 0 when there is nothing to reload */
VLM_API int vlm_Load(int withControl);
VLM_API int vlm_LoadDataTable(int objectIndex, int full);
// Reads the database object on view again, only the rows the Selector selects.
VLM_API int vlm_LoadSelectionOnly(void);
/* a data file (.txt, .tsv, .tab, .csv) or a model file; the name is copied */
VLM_API int vlm_OpenFile(const char* fileName, int mode);
/* the DataSourceKind of the table: 0 none, 1 Excel, 2 Access, 3 clipboard or text file, 4 ODBC */
VLM_API int vlm_GetDataSource(void);
/* each buffer (1024 bytes) may be NULL; never waits for a running load */
VLM_API int vlm_GetDataServer(char* source, char* table, char* third);
VLM_API int vlm_GetServerQuery(char* buffer);
VLM_API int vlm_Switch(void);
VLM_API int vlm_JumpToServer(int sample);
/* stops a running load; returns when the data lock is free */
VLM_API void vlm_CancelAction(void);
VLM_API int vlm_CopyToServer(void* unused);

/* clipboard data exchange */
VLM_API int vlm_IsClipboardValid(void);
VLM_API int vlm_CopyToClipboard(void);
/* end of connection */

#endif
