#include "tools/selector/slider_geometry.h"

#include <algorithm>
#include <cmath>

namespace vlm::selector {
namespace {

constexpr int kTrackStart = kControlLeft + 10;
constexpr int kTrackEndMargin = 14;

double fractionAt(const Track& track, int x) {
  return static_cast<double>(x - track.x0) / static_cast<double>(std::max(track.x1 - track.x0, 1));
}

double settle(double value, double least, double greatest, bool integral) {
  if (integral) value = std::trunc(value);
  return std::clamp(value, least, greatest);
}

}  // namespace

Track trackFor(int width) {
  Track t;
  t.x0 = kTrackStart;
  t.x1 = std::max(width - kTrackEndMargin, t.x0 + 1);
  return t;
}

int pixelOf(const Track& track, double least, double greatest, double value) {
  if (!(greatest > least)) return track.x0;
  const double f = std::clamp((value - least) / (greatest - least), 0.0, 1.0);
  return track.x0 + static_cast<int>(std::lround(f * (track.x1 - track.x0)));
}

double valueAt(const Track& track, double least, double greatest, int x, bool integral) {
  if (!(greatest > least)) return least;
  return settle(least + fractionAt(track, x) * (greatest - least), least, greatest, integral);
}

int32_t itemAt(const Track& track, int32_t count, int x) {
  if (x < track.x0) return -1;
  if (count <= 1) return 0;
  return static_cast<int32_t>(valueAt(track, 0.0, static_cast<double>(count - 1), x, true));
}

int itemPixel(const Track& track, int32_t count, int32_t item) {
  return pixelOf(track, 0.0, static_cast<double>(std::max(count - 1, 0)), static_cast<double>(item));
}

Grip gripAt(int x, int lowX, int highX) {
  if (x >= lowX - 10 && x <= lowX + 5) return Grip::Low;
  if (x >= highX - 5 && x <= highX + 10) return Grip::High;
  if (x > lowX + 5 && x < highX - 5) return Grip::Whole;
  return Grip::None;
}

Bounds dragTo(RangeDrag& drag, const Track& track, double least, double greatest, bool integral, Bounds current,
              int x) {
  Bounds b = current;
  switch (drag.grip) {
    case Grip::Low: {
      const double v = valueAt(track, least, greatest, x, integral);
      if (v >= current.high) {
        // The low thumb met the high one: from here on the high bound moves.
        drag.grip = Grip::High;
        b.low = current.high;
        b.high = std::max(v, current.high);
      } else {
        b.low = v;
      }
      break;
    }
    case Grip::High:
      b.high = std::max(valueAt(track, least, greatest, x, integral), current.low);
      break;
    case Grip::Whole: {
      const double width = drag.startHigh - drag.startLow;
      const double shift = static_cast<double>(x - drag.startX) / std::max(track.x1 - track.x0, 1) * (greatest - least);
      double low = drag.startLow + shift;
      if (integral) low = std::trunc(low);
      low = std::clamp(low, least, std::max(least, greatest - width));
      b.low = low;
      b.high = low + width;
      break;
    }
    case Grip::None:
      break;
  }
  return b;
}

}  // namespace vlm::selector
