#pragma once
// The pixels of the Selector's slider rows: where a value stands on the
// track, which value a pixel stands for, which thumb a press takes and where
// a drag moves the bounds. Pure arithmetic, shared by the painting and the
// mouse handling of the window.
#include <cstdint>

namespace vlm::selector {

// Everything left of this x is the row's name: a click there asks for the menu.
constexpr int kControlLeft = 110;

struct Track {
  int x0 = 0;  // the pixel of the least value
  int x1 = 1;  // the pixel of the greatest value
};

// The track of a row in a list `width` pixels wide.
Track trackFor(int width);

// The pixel of a value between the least and greatest value (x0 when they are equal).
int pixelOf(const Track& track, double least, double greatest, double value);
// The value of a pixel: linear between the track's ends and the limits,
// truncated for whole numbers, clamped to the limits.
double valueAt(const Track& track, double least, double greatest, int x, bool integral);

// An Item Slider: the entry under the pixel (the same mapping onto 0..count-1,
// truncated and clamped), or -1 ("*** ALL ***") left of the track.
int32_t itemAt(const Track& track, int32_t count, int x);
int itemPixel(const Track& track, int32_t count, int32_t item);

enum class Grip { None, Low, High, Whole };

// The part of a Range row a press at x takes: within 10 pixels left or 5
// right of the low thumb the low bound; within 5 left or 10 right of the high
// thumb the high bound; between them the whole range.
Grip gripAt(int x, int lowX, int highX);

struct RangeDrag {
  Grip grip = Grip::None;
  int startX = 0;
  double startLow = 0.0, startHigh = 0.0;
};

struct Bounds {
  double low = 0.0, high = 0.0;
};

// The bounds after the pointer moved to x. The low thumb cannot pass the high
// one: reaching it turns the drag into a drag of the high bound (`drag.grip`
// changes). A whole-range drag keeps the width and stops at the track's ends.
Bounds dragTo(RangeDrag& drag, const Track& track, double least, double greatest, bool integral, Bounds current,
              int x);

}  // namespace vlm::selector
