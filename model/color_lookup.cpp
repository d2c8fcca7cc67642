#include "model/color_lookup.h"

#include <cstddef>

namespace vlm {
namespace {

void copyColour(const ColorEntry& e, float rgb[3]) {
  rgb[0] = e.red;
  rgb[1] = e.green;
  rgb[2] = e.blue;
}

}  // namespace

bool colourOfValue(const ColorModel& model, float t, float rgb[3]) {
  const std::vector<ColorEntry>& e = model.entries;
  const size_t n = e.size();
  if (n < 2) return false;
  if (!(t >= 0.0f)) t = 0.0f;  // also catches NaN
  if (t > 1.0f) t = 1.0f;

  if (model.rampType == kRampCategorical) {
    size_t i = 0;
    while (i + 2 < n && t >= e[i + 1].position) ++i;
    copyColour(e[i], rgb);
    return true;
  }

  if (t < e[0].position) {
    copyColour(e[0], rgb);
    return true;
  }
  size_t i = 0;
  for (; i + 1 < n; ++i) {
    const bool last = i + 2 == n;
    const float upper = last ? 1.0f : e[i + 1].position;
    // The last pair is closed at 1, so the field's maximum takes the last colour.
    if (t >= e[i].position && (t < upper || (last && t <= upper))) break;
  }
  if (i + 1 >= n) i = n - 2;
  const ColorEntry& a = e[i];
  const ColorEntry& b = e[i + 1];
  const float width = b.position - a.position;
  if (!(width > 0.0f)) {
    copyColour(a, rgb);
    return true;
  }
  float f = (t - a.position) / width;
  if (f < 0.0f) f = 0.0f;
  if (f > 1.0f) f = 1.0f;
  rgb[0] = a.red + (b.red - a.red) * f;
  rgb[1] = a.green + (b.green - a.green) * f;
  rgb[2] = a.blue + (b.blue - a.blue) * f;
  return true;
}

}  // namespace vlm
