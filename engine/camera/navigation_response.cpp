#include <cmath>

#include "engine/camera/navigation.h"

namespace vlm {

float navigationResponse(float d) {
  if (d == 0.0f) return 0.0f;
  const float r = std::pow(std::fabs(d) * 0.4f, 1.3f);
  return d < 0 ? -r : r;
}

float navigationSpeedFor(int64_t rows) {
  const double speed = std::pow(static_cast<double>(rows > 250 ? rows : 250), 1.0 / 8.0);
  return static_cast<float>(speed < 1.0 ? 1.0 : speed);
}

}  // namespace vlm
