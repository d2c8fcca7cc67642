/* Output exports: pictures of the view, textures, the HTML report. */
#ifndef VLMAPI_OUTPUT_H
#define VLMAPI_OUTPUT_H

/* The view to the clipboard, to an image file, to a printer (each posts a
   command to the engine thread; 1 when posted). */
VLM_API int vlm_CopyImage(void);
VLM_API int vlm_SaveImage(void);
VLM_API int vlm_PrintImage(void);
/* Object textures from the file names of a field (posts HM_BUSY 1 first). */
VLM_API int vlm_CreateTextures(int field);
/* Deletes the object textures and waits for it at most 10 s: 1 done, 0 timed out. */
VLM_API int vlm_DeleteTextures(void);
/* The picture of `path` as the texture of plane 1 (X), 2 (Y) or 3 (Z). */
VLM_API int vlm_LoadTextureFile(const char* path, int plane);
/* The HTML report (Create Report dialog first): 1 written, 0 not. */
VLM_API int vlm_CopyToHTML(void);
/* Opens an address in the desktop's web browser: 1 when a program took it. */
VLM_API int vlm_StartWebBrowser(const char* address);

#endif
