#include "scene/construction/placement.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/second_thread.h"
#include "model/color_lookup.h"
#include "scene/construction/object_array.h"
#include "scene/construction/rand15.h"

namespace vlm::scene {
namespace {

void resetToDefaults(ObjectRecord& o) {
  o.x = o.defX, o.y = o.defY, o.z = o.defZ;
  o.rotX = o.defRotX, o.rotY = o.defRotY, o.rotZ = o.defRotZ;
  o.red = o.defRed, o.green = o.defGreen, o.blue = o.defBlue, o.alpha = o.defAlpha;
  o.width = o.baseWidth, o.depth = o.baseDepth, o.height = o.baseHeight;
  o.soundVolume = 100.0f;
  o.soundFrequency = 50.0f;
  o.shape = static_cast<uint8_t>((o.shape & 0x0F) | ((o.shape & 0x0F) << 4));
}

// Whole percent of t, so that equal sizes share cached shape lists.
inline float percentOf(float t) { return std::trunc(100.0f * t + 0.005f) / 100.0f; }

inline void setShape(ObjectRecord& o, float v) {
  int s = static_cast<int>(std::trunc(14.0f * clamp01(v)));
  o.shape = static_cast<uint8_t>((o.shape & 0x0F) | ((s & 0x0F) << 4));
}

struct Sample {
  bool hasValue;
  float t;
};

// Applies one association to one object. `k` is scale x 0.02.
void apply(ObjectRecord& o, int32_t attribute, bool withField, Sample s, float scale, float k,
           const ColorModel& colour, Rand15& rng) {
  const float t = withField ? s.t : 1.0f;
  const float q = percentOf(t);
  const float f = 2.0f * q * k + 0.5f;
  switch (attribute) {
    case ATTRIB_COLOR:
      if (!s.hasValue) {
        o.red = o.green = o.blue = o.alpha = 1.0f;
      } else {
        float rgb[3] = {o.red, o.green, o.blue};
        const float v = withField ? clamp01(t + (scale - 50.0f) * 0.02f) : clamp01(scale * 0.01f);
        if (colourOfValue(colour, v, rgb)) o.red = rgb[0], o.green = rgb[1], o.blue = rgb[2];
      }
      break;
    case ATTRIB_SIZE:
      if (!s.hasValue) o.width = o.baseWidth * 0.25f, o.depth = o.baseDepth * 0.25f, o.height = o.baseHeight * 0.25f;
      else o.width = o.baseWidth * f, o.depth = o.baseDepth * f, o.height = o.baseHeight * f;
      break;
    case ATTRIB_HEIGHT:
      if (!s.hasValue) o.height = o.baseHeight * 0.5f;
      else if (withField) o.height = o.baseHeight * 2.0f * (2.0f * t * k + 0.5f);
      else o.height = o.baseHeight * 2.0f * k;
      break;
    case ATTRIB_BASE:
      if (!s.hasValue) o.width = o.baseWidth * 0.25f, o.depth = o.baseDepth * 0.25f;
      else o.width = o.baseWidth * f, o.depth = o.baseDepth * f;
      break;
    case ATTRIB_DIMX: o.width = s.hasValue ? o.baseWidth * f : o.baseWidth * 0.25f; break;
    case ATTRIB_DIMY: o.depth = s.hasValue ? o.baseDepth * f : o.baseDepth * 0.25f; break;
    case ATTRIB_AXISX:
      if (s.hasValue) o.x = withField ? 100.0f * t * k : k * o.x;
      break;
    case ATTRIB_AXISY:
      if (s.hasValue) o.y = withField ? -(100.0f * t * k) : k * o.y;
      break;
    case ATTRIB_AXISZ:
      if (s.hasValue) o.z = withField ? 100.0f * t * k : 15.0f * k - 15.0f;
      break;
    case ATTRIB_ROTX:
      if (s.hasValue) o.rotX = -(45.0f * t * k);
      break;
    case ATTRIB_ROTY:
      if (s.hasValue) o.rotY = 45.0f * t * k;
      break;
    case ATTRIB_ROTZ:
      if (s.hasValue) o.rotZ = 45.0f * t * k;
      break;
    case ATTRIB_SHAPE:
      if (s.hasValue) setShape(o, withField ? t + (scale / 2.0f - 50.0f) * 0.02f : scale * 0.005f);
      break;
    case ATTRIB_OPACITY:
      if (s.hasValue) o.alpha = withField ? clamp01(t + (scale - 50.0f) * 0.02f) : clamp01(scale * 0.01f);
      break;
    case ATTRIB_SOUND_FREQ:
      if (!s.hasValue) o.soundVolume = -1.0f;
      else o.soundFrequency = 100.0f * clamp01(t + (scale - 50.0f) * 0.02f);
      break;
    case ATTRIB_SOUND_VOLUME:
      if (!s.hasValue) o.soundVolume = -1.0f;
      else o.soundVolume = 100.0f * clamp01(t + (scale - 50.0f) * 0.02f);
      break;
    case ATTRIB_JITTER:
      if (s.hasValue) {
        const float a = 2.5f * t * k;
        constexpr float kUnit = 3.0518509e-5f;  // 1 / 32767
        o.x += static_cast<float>(rng.next() - 16383) * kUnit * a;
        o.y += static_cast<float>(rng.next() - 16383) * kUnit * a;
        o.z += static_cast<float>(rng.next() - 16383) * kUnit * a;
      }
      break;
    default:  // speech, label and texture place nothing
      break;
  }
}

void takeVertical(VerticalAttribute& v, const Association& a, int32_t attribute) {
  const bool takes = attribute == ATTRIB_AXISZ ||
                     (attribute == ATTRIB_HEIGHT && v.attribute != ATTRIB_AXISZ) ||
                     (attribute == ATTRIB_SIZE && v.attribute != ATTRIB_AXISZ && v.attribute != ATTRIB_HEIGHT);
  if (!takes) return;
  v.attribute = attribute;
  v.field = a.field;
  v.fieldType = a.field >= 0 ? a.fieldType : 0;
  v.dataMin = a.field >= 0 ? a.min : 0.0f;
  v.dataMax = a.field >= 0 ? a.max : 1.0f;
  v.options = a.options;
  v.scale = a.scale;
  v.displayMin = a.displayMin;
  v.displayMax = a.displayMax;
  v.transformOrigin = a.transformOrigin;
  v.transformRange = a.transformRange;
}

// One association as placement applies it.
struct Pass {
  int32_t attribute = 0;
  const DataField* field = nullptr;  // null: the association has no field
  const float* values = nullptr;
  size_t valuesHeld = 0;
  size_t cellCount = 0;
  float scale = 0;
  float k = 0;
  Rand15 rng;  // seeded where a jitter association is met
};

// Objects are placed a block at a time, every association over the block
// while it is in the cache, rather than one pass over all objects for each.
constexpr size_t kBlockObjects = 1024;

void placeBlock(ObjectArray& objects, size_t begin, size_t end, std::vector<Pass>& passes,
                const ColorModel* colour) {
  for (size_t i = begin; i < end; ++i) resetToDefaults(objects[i]);
  for (Pass& p : passes) {
    const bool withField = p.field != nullptr;
    for (size_t i = begin; i < end; ++i) {
      Sample s{true, 1.0f};
      if (withField) {
        s.hasValue = i < p.cellCount && (p.field->cells[i].flags & kCellPresent) != 0;
        s.t = (p.values != nullptr && i < p.valuesHeld) ? p.values[i] : 0.0f;
      }
      apply(objects[i], p.attribute, withField, s, p.scale, p.k, *colour, p.rng);
    }
  }
}

}  // namespace

VerticalAttribute placeObjects(ObjectArray& objects, const PlacementInput& in) {
  VerticalAttribute vertical;
  const size_t n = objects.size();
  std::vector<Pass> passes;
  bool jitter = false;
  if (in.associations != nullptr && in.table != nullptr && in.colour != nullptr) {
    if (n > 0) vertical.baseHeight = objects[0].baseHeight;
    const AssociationSet& set = *in.associations;
    const DataTable& table = *in.table;
    for (int32_t ai = 0; ai < set.count && ai < kAttributeCount; ++ai) {
      const Association& a = set.passes[ai];
      const int32_t attribute = attributeOf(a);
      if (attribute == ATTRIB_LABEL || attribute == ATTRIB_TEXTURE) continue;
      takeVertical(vertical, a, attribute);
      Pass& p = passes.emplace_back();
      p.attribute = attribute;
      if (attribute == ATTRIB_JITTER) p.rng.seed(in.jitterSeed), jitter = true;
      if (a.field >= 0 && a.field < table.fieldCount) {
        p.field = &table.fields[static_cast<size_t>(a.field)];
        p.cellCount = p.field->cells.size();
        p.values = a.values;
        p.valuesHeld = valueCount(a);
      }
      p.scale = a.scale;
      p.k = a.scale * 0.02f;
    }
  }
  // Without a colour model there are no passes, so it is never read.
  const ColorModel* colour = in.colour;
  const size_t blocks = (n + kBlockObjects - 1) / kBlockObjects;
  // The jitter draws its offsets object after object from one sequence.
  const bool bothCores = in.bothCores && !jitter && n >= static_cast<size_t>(kObjectsForBothCores);
  if (!bothCores) {
    for (size_t b = 0; b < blocks; ++b)
      placeBlock(objects, b * kBlockObjects, std::min(n, (b + 1) * kBlockObjects), passes, colour);
    return vertical;
  }
  forEachOnBothCores(static_cast<int32_t>(blocks), true, [&](int32_t b) {
    const size_t begin = static_cast<size_t>(b) * kBlockObjects;
    placeBlock(objects, begin, std::min(n, begin + kBlockObjects), passes, colour);
  });
  return vertical;
}

}  // namespace vlm::scene
