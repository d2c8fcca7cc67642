#pragma once
// The attribute vocabulary: display names, identifier texts of the model file,
// and the default scales.
#include <cstdint>

namespace vlm {

// Shown in menus, legends and dialogs; "" for ids outside 0..20.
const char* attributeDisplayName(int32_t attribute);
// Written to and read from model files; "" for ids outside 0..20.
const char* attributeIdText(int32_t attribute);
// Default scale of a new association; withField false is the column for an
// association bound to no data field. Label and texture cannot exist without a field.
float defaultAttributeScale(int32_t attribute, bool withField);
// Upper-cases `text` in place, then returns the first id whose display name or
// identifier text equals it, or ATTRIB_NO.
int32_t textToAttribute(char* text);
bool isValidAttribute(int32_t attribute);

}  // namespace vlm
