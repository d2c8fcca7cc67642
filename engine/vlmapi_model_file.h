/* model file exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_MODEL_FILE_H
#define VLMAPI_MODEL_FILE_H

#include "engine/vlmapi.h"

/* Opens a model file (.vlm) with its data, or a data file, on the data
   thread; NULL or "" shows the open dialog. A relative path is taken in the
   model directory. Returns 1 at once. */
VLM_API int vlm_OpenModel(const char* path);
/* The same, applying the model to the current data. */
VLM_API int vlm_ModelApply(const char* path);
/* Writes the model to its file (Save As without one); 1 when written. */
VLM_API int vlm_ModelSave(void);
/* Asks for a file name and writes the model there; 0 when cancelled or not written. */
VLM_API int vlm_ModelSaveAs(void);

#endif
