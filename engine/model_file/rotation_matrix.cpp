#include "engine/model_file/rotation_matrix.h"

#include <cmath>

namespace vlm {
namespace {

constexpr double kPi = 3.14159265358979323846;

using Matrix = std::array<double, 9>;

Matrix multiply(const Matrix& a, const Matrix& b) {
  Matrix c{};
  for (int r = 0; r < 3; ++r)
    for (int k = 0; k < 3; ++k)
      for (int j = 0; j < 3; ++j) c[r * 3 + j] += a[r * 3 + k] * b[k * 3 + j];
  return c;
}

}  // namespace

std::array<float, 9> rotationMatrix(const float degrees[3]) {
  const double x = degrees[0] * kPi / 180.0, y = degrees[1] * kPi / 180.0, z = degrees[2] * kPi / 180.0;
  const Matrix rx{1, 0, 0, 0, std::cos(x), -std::sin(x), 0, std::sin(x), std::cos(x)};
  const Matrix ry{std::cos(y), 0, std::sin(y), 0, 1, 0, -std::sin(y), 0, std::cos(y)};
  const Matrix rz{std::cos(z), -std::sin(z), 0, std::sin(z), std::cos(z), 0, 0, 0, 1};
  const Matrix m = multiply(multiply(rx, ry), rz);
  std::array<float, 9> out{};
  for (int i = 0; i < 9; ++i) out[static_cast<size_t>(i)] = static_cast<float>(m[static_cast<size_t>(i)]);
  return out;
}

bool rotationAngles(const std::array<float, 9>& f, float degrees[3]) {
  Matrix m{};
  for (int i = 0; i < 9; ++i) m[static_cast<size_t>(i)] = f[static_cast<size_t>(i)];
  // A rotation has orthonormal rows and determinant 1.
  for (int r = 0; r < 3; ++r) {
    for (int s = 0; s < 3; ++s) {
      double dot = 0;
      for (int k = 0; k < 3; ++k) dot += m[r * 3 + k] * m[s * 3 + k];
      if (std::fabs(dot - (r == s ? 1.0 : 0.0)) > 1e-3) return false;
    }
  }
  const double det = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
                     m[2] * (m[3] * m[7] - m[4] * m[6]);
  if (std::fabs(det - 1.0) > 1e-3) return false;
  // m = Rx(a) Ry(b) Rz(c): m02 = sin b, m12 = -sin a cos b, m22 = cos a cos b,
  // m01 = -cos b sin c, m00 = cos b cos c.
  const double sinB = std::fmax(-1.0, std::fmin(1.0, m[2]));
  const double b = std::asin(sinB);
  double a = 0, c = 0;
  if (std::fabs(std::cos(b)) > 1e-6) {
    a = std::atan2(-m[5], m[8]);
    c = std::atan2(-m[1], m[0]);
  } else {
    a = std::atan2(m[7], m[4]);  // turned a quarter about Y: only a + c or a - c is known
  }
  degrees[0] = static_cast<float>(a * 180.0 / kPi);
  degrees[1] = static_cast<float>(b * 180.0 / kPi);
  degrees[2] = static_cast<float>(c * 180.0 / kPi);
  return true;
}

}  // namespace vlm
