#include "model/normalise.h"

#include <algorithm>
#include <cmath>

#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/axis_rounding.h"
#include "model/color_entries.h"
#include "model/field_range.h"
#include "model/transforms.h"

namespace vlm {
namespace {

struct Params {
  float low;
  float high;
  float inverseWidth;     // 1 / (Q - P), 0 when Q equals P
  float inverseMaxAbs;    // 1 / max(|P|, |Q|) for a straddling range
  bool straddles;
  bool equal;
  bool inverse;
  float missingCategory;  // x of a sample without a value, categorical mapping
  float origin;
  float range;
};

inline float clampTo(float t, float lo, float hi) {
  if (!(t >= lo)) return lo;  // NaN as well
  return t > hi ? hi : t;
}

// One loop per cell reader and transform, so the per-sample work has no branches on
// the association's settings.
template <Transform Xf, typename Read>
void fillNumeric(float* out, const Cell* cells, int32_t n, const Params& p, Read read) {
  const float lo = p.straddles ? -1.0f : 0.0f;
  for (int32_t s = 0; s < n; ++s) {
    const Cell& c = cells[s];
    float x = 0.0f;
    float t = 0.0f;
    if (read(c, x)) {
      x = applyTransform(Xf, x, p.origin, p.range);
      if (p.straddles) t = x * p.inverseMaxAbs;
      else t = p.equal ? 1.0f : (x - p.low) * p.inverseWidth;
    }
    if (p.inverse) t = 1.0f - t;
    out[s] = clampTo(t, lo, 1.0f);
  }
}

template <Transform Xf, typename Read>
void fillCategorical(float* out, const Cell* cells, int32_t n, const Params& p, Read read) {
  for (int32_t s = 0; s < n; ++s) {
    const Cell& c = cells[s];
    float x = 0.0f;
    if (read(c, x)) x = applyTransform(Xf, x, p.origin, p.range);
    else x = p.missingCategory;
    float t = p.equal ? 1.0f : (x - p.low) * p.inverseWidth;
    if (p.inverse) t = 1.0f - t;
    out[s] = clampTo(t, 0.0f, 1.0f);
  }
}

template <Transform Xf, typename Read>
void fillWith(bool categorical, float* out, const Cell* cells, int32_t n, const Params& p,
              Read read) {
  if (categorical) fillCategorical<Xf>(out, cells, n, p, read);
  else fillNumeric<Xf>(out, cells, n, p, read);
}

template <typename Read>
void fillTransformed(Transform xf, bool categorical, float* out, const Cell* cells, int32_t n,
                     const Params& p, Read read) {
  switch (xf) {
    case Transform::Logn: fillWith<Transform::Logn>(categorical, out, cells, n, p, read); break;
    case Transform::Exp: fillWith<Transform::Exp>(categorical, out, cells, n, p, read); break;
    default: fillWith<Transform::None>(categorical, out, cells, n, p, read); break;
  }
}

bool present(const Cell& c) { return (c.flags & kCellPresent) != 0; }

void fill(const Association& a, const DataField& f, float* out, int32_t n, const Params& p) {
  const Cell* cells = f.cells.data();
  const bool byCategory = isCategorical(a) && hasCategoryList(f);
  // Flags carry no magnitude to transform.
  const Transform xf = a.fieldType == FT_FLAG ? Transform::None : transformOf(a.options);
  if (byCategory || isCategoryType(a.fieldType)) {
    fillTransformed(xf, byCategory, out, cells, n, p, [](const Cell& c, float& x) {
      if (!present(c) || c.engineWord < 0) return false;
      x = static_cast<float>(c.engineWord);
      return true;
    });
    return;
  }
  switch (a.fieldType) {
    case FT_INTEGER:
      fillTransformed(xf, false, out, cells, n, p, [](const Cell& c, float& x) {
        x = static_cast<float>(c.value.i);
        return present(c);
      });
      break;
    case FT_REAL:
      fillTransformed(xf, false, out, cells, n, p, [](const Cell& c, float& x) {
        x = c.value.f;
        return present(c);
      });
      break;
    case FT_SIZE:
      fillTransformed(xf, false, out, cells, n, p, [&f](const Cell& c, float& x) {
        x = static_cast<float>(sizeBytesOf(f, c));
        return present(c);
      });
      break;
    default:  // FT_BOOLEAN, FT_FLAG
      fillTransformed(xf, false, out, cells, n, p, [](const Cell& c, float& x) {
        x = c.value.i != 0 ? 1.0f : 0.0f;
        return present(c);
      });
      break;
  }
}

int32_t sampleCount(const Association& a, const DataTable& table) {
  return std::max(0, std::min<int32_t>(table.rowCount, static_cast<int32_t>(valueCount(a))));
}

// P..Q and the transform's origin and range of a non-axis association with a field.
NormaliseRange transformedRange(Association& pass, float low, float high) {
  const Transform xf = transformOf(pass.options);
  if (xf == Transform::None || pass.fieldType == FT_FLAG) return {low, high};
  pass.transformOrigin = pass.min;
  const float width = pass.max - pass.min;
  pass.transformRange = usableTransformRange(width);
  if (!(width > 0.0f) && low == high) {
    // A constant field keeps its single value at 1, as it does without a transform.
    const float v = applyTransform(xf, low, pass.transformOrigin, pass.transformRange);
    return {v, v};
  }
  return {applyTransform(xf, low, pass.transformOrigin, pass.transformRange),
          applyTransform(xf, high, pass.transformOrigin, pass.transformRange)};
}

}  // namespace

void normaliseValues(const Association& pass, const DataTable& table, NormaliseRange range) {
  int32_t n = sampleCount(pass, table);
  float* out = n > 0 ? pass.values : nullptr;
  const DataField* f = associationField(table, pass.field);
  if (f == nullptr) {
    std::fill(out, out + n, 1.0f);
    return;
  }
  n = std::min<int32_t>(n, static_cast<int32_t>(f->cells.size()));
  if (n <= 0) return;
  const float P = range.low;
  const float Q = range.high;
  const int32_t attribute = attributeOf(pass);
  Params p{};
  p.low = P;
  p.high = Q;
  p.equal = Q == P;
  p.inverseWidth = p.equal ? 0.0f : 1.0f / (Q - P);
  p.straddles = P < 0.0f && Q > 0.0f;
  const float maxAbs = std::max(std::fabs(P), std::fabs(Q));
  p.inverseMaxAbs = maxAbs > 0.0f ? 1.0f / maxAbs : 0.0f;
  p.inverse = (pass.options & MAP_INVERSE) != 0;
  p.missingCategory = (attribute == ATTRIB_COLOR || attribute == ATTRIB_SHAPE) ? Q : 0.0f;
  p.origin = pass.transformOrigin;
  p.range = usableTransformRange(pass.transformRange);
  fill(pass, *f, out, n, p);
}

void normaliseAssociationsLocked(ModelContext& ctx) {
  AssociationSet& set = ctx.associations;
  const ModelHooks* hooks = ctx.hooks;
  bool placementCleared = false;
  for (int32_t i = 0; i < set.count && i < kAttributeCount;) {
    Association& pass = set.passes[i];
    pass = set.saved[i];
    const int32_t attribute = attributeOf(pass);
    const DataField* f = associationField(ctx.table, pass.field);

    if (attribute == ATTRIB_SOUND_FREQ || attribute == ATTRIB_SOUND_VOLUME) {
      if (hooks != nullptr && hooks->openSound && !hooks->openSound()) {
        // The slot now holds the next association; normalise it without advancing.
        deleteAssociationLocked(ctx, i);
        continue;
      }
    }

    NormaliseRange range;
    if (f == nullptr) {
      pass.min = 0.0f;
      pass.max = 1.0f;
      pass.displayMin = 0.0f;
      pass.displayMax = 1.0f;
      range = {0.0f, 1.0f};
    } else if (isAxisAttribute(attribute)) {
      range = {pass.displayMin, pass.displayMax};
    } else if (attribute == ATTRIB_COLOR) {
      rebuildColourForField(ctx, pass.field, pass.fieldType);
      range = transformedRange(pass, ctx.colour.valueMin, ctx.colour.valueMax);
      pass.displayMin = range.low;
      pass.displayMax = range.high;
    } else {
      range = transformedRange(pass, pass.min, pass.max);
      pass.displayMin = range.low;
      pass.displayMax = range.high;
    }

    if (hooks != nullptr) {
      switch (attribute) {
        case ATTRIB_SPEECH:
          if (hooks->speechActive) hooks->speechActive(pass.field);
          break;
        case ATTRIB_LABEL:
          if (hooks->buildLabels) hooks->buildLabels(pass);
          break;
        case ATTRIB_TEXTURE:
          if (hooks->resolveTextures) hooks->resolveTextures(pass);
          break;
        case ATTRIB_AXISX:
        case ATTRIB_AXISY:
          if (f != nullptr && !placementCleared) {
            placementCleared = true;
            if (hooks->clearDefaultPlacement) hooks->clearDefaultPlacement();
          }
          break;
        default:
          break;
      }
    }

    normaliseValues(pass, ctx.table, range);
    ++i;
  }
}

void roundAndNormaliseLocked(ModelContext& ctx, SpaceSettings& space) {
  roundAxisRanges(ctx.associations, space);
  normaliseAssociationsLocked(ctx);
}

}  // namespace vlm
