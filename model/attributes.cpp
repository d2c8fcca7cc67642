#include "model/attributes.h"

#include <cctype>
#include <cstring>

#include "model/association.h"

namespace vlm {
namespace {

struct AttributeRow {
  const char* idText;
  const char* displayName;
  float scaleNoField;
  float scaleWithField;
};

// The identifier texts of 18, 19 and 20 are what existing model files hold, so
// they must stay exactly as they are even though they do not match the names.
constexpr AttributeRow kAttributes[kAttributeCount] = {
    {"ATTRIB_NO", "", 50, 50},
    {"ATTRIB_COLOR", "Color", 50, 50},
    {"ATTRIB_SIZE", "Size", 10, 50},
    {"ATTRIB_HEIGHT", "Height", 10, 100},
    {"ATTRIB_BASE", "Base Size", 10, 50},
    {"ATTRIB_DIMX", "Dimension X", 10, 50},
    {"ATTRIB_DIMY", "Dimension Y", 10, 50},
    {"ATTRIB_AXISX", "Axis X", 50, 50},
    {"ATTRIB_AXISY", "Axis Y", 50, 50},
    {"ATTRIB_AXISZ", "Axis Z", 50, 50},
    {"ATTRIB_ROTX", "Rotation X", 0, 50},
    {"ATTRIB_ROTY", "Rotation Y", 0, 50},
    {"ATTRIB_ROTZ", "Rotation Z", 0, 50},
    {"ATTRIB_SHAPE", "Shape", 50, 50},
    {"ATTRIB_OPACITY", "Opacity", 100, 50},
    {"ATTRIB_LABEL", "Labels", 50, 50},
    {"ATTRIB_TEXTURE", "Texture", 50, 50},
    {"ATTRIB_SOUND_FREQ", "Sound Freq.", 50, 50},
    {"ATTRIB_SOUND_VOLUMEATTRIB_SPEECHATTRIB_JITTER", "Sound Volume", 50, 50},
    {"ATTRIB_JITTER", "Speech", 50, 50},
    {"ATTRIB_ANIM", "Jitter", 0, 50},
};

}  // namespace

bool isValidAttribute(int32_t attribute) { return attribute >= 0 && attribute < kAttributeCount; }

const char* attributeDisplayName(int32_t attribute) {
  return isValidAttribute(attribute) ? kAttributes[attribute].displayName : "";
}

const char* attributeIdText(int32_t attribute) {
  return isValidAttribute(attribute) ? kAttributes[attribute].idText : "";
}

float defaultAttributeScale(int32_t attribute, bool withField) {
  if (!isValidAttribute(attribute)) return 50.0f;
  return withField ? kAttributes[attribute].scaleWithField : kAttributes[attribute].scaleNoField;
}

int32_t textToAttribute(char* text) {
  if (text == nullptr) return ATTRIB_NO;
  for (char* c = text; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  for (int32_t id = 0; id < kAttributeCount; ++id) {
    if (std::strcmp(text, kAttributes[id].displayName) == 0) return id;
    if (std::strcmp(text, kAttributes[id].idText) == 0) return id;
  }
  return ATTRIB_NO;
}

}  // namespace vlm
