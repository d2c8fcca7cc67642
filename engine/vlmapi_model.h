/* model exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_MODEL_H
#define VLMAPI_MODEL_H

#include "engine/vlmapi.h"

/* Associations of fields with graphic attributes, and colours. */
VLM_API void vlm_AssociateField(int field, int categorical, int attribute, int scale, int options);
VLM_API int vlm_DeleteAssociation(int index);
VLM_API void vlm_DeleteAllAssociations(void);
VLM_API void vlm_DeleteField(int attribute);
VLM_API void vlm_RotateField(int attribute);
VLM_API int vlm_IsSomethingToDelete(void);
VLM_API int vlm_AttributeToAssociation(int attribute);
VLM_API int vlm_AttributeToField(int attribute);
VLM_API const void* vlm_AttributeToPField(int attribute);
VLM_API void* vlm_AttributeToPass(int attribute);
VLM_API void* vlm_AttributeToPassSaved(int attribute);
VLM_API int vlm_AttributeToText(int attribute, char* buffer);
VLM_API int vlm_AttributeToIDText(int attribute, char* buffer);
VLM_API int vlm_TextToAttribute(char* text);
VLM_API int vlm_TextToSerie(char* text);
VLM_API int vlm_OptionsToText(int options, char* buffer);
VLM_API int vlm_TextToOptions(char* text);
VLM_API int vlm_GetAssociationMapping(int index);
VLM_API void vlm_SetAssociationMapping(int index, int flag);
VLM_API float vlm_GetAssociationScale(int index);
VLM_API void vlm_SetAssociationScale(int index, float value);
VLM_API void vlm_ResetAssociationScale(int index);
VLM_API int vlm_GetNumberOfAssociations(void);
VLM_API int vlm_ObjectToAttribute(int name);
VLM_API int vlm_ObjectToField(int name);
VLM_API void vlm_ColorrefToRgba(const uint32_t* colorref, float alpha, float* rgba);
VLM_API uint32_t vlm_RgbToColorref(float red, float green, float blue);
VLM_API int vlm_SetDefaultColorModel(int model);
VLM_API int vlm_SetDefaultColorModel2(void);

#endif
