#pragma once
// Associations: a field bound to a graphic attribute with a mapping and a scale.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/big_allocator.h"

namespace vlm {

enum AttributeId : int32_t {
  ATTRIB_NO = 0,
  ATTRIB_COLOR = 1,
  ATTRIB_SIZE = 2,
  ATTRIB_HEIGHT = 3,
  ATTRIB_BASE = 4,
  ATTRIB_DIMX = 5,
  ATTRIB_DIMY = 6,
  ATTRIB_AXISX = 7,
  ATTRIB_AXISY = 8,
  ATTRIB_AXISZ = 9,
  ATTRIB_ROTX = 10,
  ATTRIB_ROTY = 11,
  ATTRIB_ROTZ = 12,
  ATTRIB_SHAPE = 13,
  ATTRIB_OPACITY = 14,
  ATTRIB_LABEL = 15,
  ATTRIB_TEXTURE = 16,
  ATTRIB_SOUND_FREQ = 17,
  ATTRIB_SOUND_VOLUME = 18,
  ATTRIB_SPEECH = 19,
  ATTRIB_JITTER = 20,
};
constexpr int kAttributeCount = 21;

enum MappingOptions : uint8_t {
  MAP_LINEAR = 0x01,
  MAP_LOGN = 0x02,
  MAP_EXP = 0x04,
  MAP_INVERSE = 0x10,
  MAP_POSITIVE = 0x20,
};

constexpr int kAssociationNameSize = 2048;

// Bits of Association::flags.
constexpr uint8_t kAssocWritten = 0x01;
constexpr uint8_t kAssocAttributeMask = 0x3E;  // bits 1..5
constexpr uint8_t kAssocCategorical = 0x40;

// The values array of an association: one normalised value per sample (row
// capacity entries), shared by the pass and its saved pass. Megabytes on a big
// table, written whole when made, so in huge pages.
using ValueArray = std::vector<float, platform::FilledBigAllocator<float>>;
using ValueStore = std::shared_ptr<ValueArray>;

// The members up to transformRange are the pass record that
// vlm_AttributeToPass hands to C callers (vlm_pass in engine/vlmapi_model.h),
// in that order; keep them plain.
struct Association {
  int32_t field = -1;
  char fieldName[kAssociationNameSize] = {};
  int32_t fieldType = 0;
  uint8_t flags = 0;  // bit 0 written, bits 1..5 attribute, bit 6 categorical
  uint8_t options = MAP_LINEAR;
  float min = 0.0f;
  float max = 1.0f;
  float scale = 50.0f;
  float* values = nullptr;  // valueStore's floats, for readers of the pass record
  float displayMin = 0.0f;
  float displayMax = 1.0f;
  float transformOrigin = 0.0f;
  float transformRange = 1.0f;
  ValueStore valueStore;  // owns `values`; set both through attachValues
};

inline void attachValues(Association& a, ValueStore store) {
  a.valueStore = std::move(store);
  a.values = a.valueStore ? a.valueStore->data() : nullptr;
}
inline size_t valueCount(const Association& a) { return a.valueStore ? a.valueStore->size() : 0; }

struct AssociationSet {
  std::array<Association, kAttributeCount> passes;
  std::array<Association, kAttributeCount> saved;
  int32_t count = 0;
};

inline int32_t attributeOf(const Association& a) { return (a.flags & kAssocAttributeMask) >> 1; }
inline bool isCategorical(const Association& a) { return (a.flags & kAssocCategorical) != 0; }
inline uint8_t associationFlags(int32_t attribute, bool categorical) {
  return static_cast<uint8_t>(kAssocWritten | ((attribute << 1) & kAssocAttributeMask) |
                              (categorical ? kAssocCategorical : 0));
}
inline void setCategorical(Association& a, bool categorical) {
  a.flags = static_cast<uint8_t>(categorical ? (a.flags | kAssocCategorical)
                                             : (a.flags & ~kAssocCategorical));
}
// LOGN wins when both transforms are set.
inline bool usesLogn(uint8_t options) { return (options & MAP_LOGN) != 0; }
inline bool usesExp(uint8_t options) { return (options & MAP_LOGN) == 0 && (options & MAP_EXP) != 0; }
inline bool usesTransform(uint8_t options) { return (options & (MAP_LOGN | MAP_EXP)) != 0; }
inline bool isAxisAttribute(int32_t attribute) {
  return attribute == ATTRIB_AXISX || attribute == ATTRIB_AXISY || attribute == ATTRIB_AXISZ;
}

}  // namespace vlm
