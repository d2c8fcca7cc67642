/* model exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_MODEL_H
#define VLMAPI_MODEL_H

#include "engine/vlmapi.h"

/* The pass record of an association, as vlm_AttributeToPass and
   vlm_AttributeToPassSaved point at it. `values` holds one normalised value
   per sample (row capacity entries) and belongs to the engine; it stays valid
   until the association changes, the table grows or a model is loaded. */
typedef struct vlm_pass {
  int32_t field;          /* data field index, -1 without a field */
  char fieldName[2048];
  int32_t fieldType;
  uint8_t flags;          /* bit 0 written, bits 1..5 attribute, bit 6 categorical */
  uint8_t options;        /* MappingOptions */
  float min;
  float max;
  float scale;
  float* values;
  float displayMin;
  float displayMax;
  float transformOrigin;
  float transformRange;
} vlm_pass;

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
/* Each returns a vlm_pass*, or NULL. */
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
