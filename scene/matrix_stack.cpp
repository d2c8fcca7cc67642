#include "scene/matrix_stack.h"

#include <cmath>
#include <cstring>

#include "platform/report.h"

namespace vlm::scene {
namespace {

void setIdentity(MatrixLevel& l) {
  std::memset(&l, 0, sizeof l);
  for (int i = 0; i < 4; ++i) l.m[i][i] = 1.0;
  for (int i = 0; i < 3; ++i) l.inv[i][i] = 1.0;
}

MatrixLevel& top(MatrixStack& s) { return s.levels[s.depth]; }
const MatrixLevel& top(const MatrixStack& s) { return s.levels[s.depth]; }

}  // namespace

MatrixStack::MatrixStack() { resetMatrixStack(*this); }

void resetMatrixStack(MatrixStack& s) {
  s.depth = 0;
  setIdentity(s.levels[0]);
}

bool pushMatrix(MatrixStack& s) {
  if (s.depth > 8) {
    platform::reportError("m_pushmatrix: stack overflow\n");
    return false;
  }
  s.levels[s.depth + 1] = s.levels[s.depth];
  ++s.depth;
  return true;
}

bool popMatrix(MatrixStack& s) {
  if (s.depth <= 0) {
    platform::reportError("m_popmatrix: stack underflow\n");
    return false;
  }
  --s.depth;
  return true;
}

void translateMatrix(MatrixStack& s, double a, double b, double c) {
  MatrixLevel& l = top(s);
  for (int j = 0; j < 4; ++j) l.m[3][j] += a * l.m[0][j] + b * l.m[1][j] + c * l.m[2][j];
}

void scaleMatrix(MatrixStack& s, double a, double b, double c) {
  MatrixLevel& l = top(s);
  const double f[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 4; ++j) l.m[i][j] *= f[i];
    if (f[i] != 0.0)  // a flattened axis has no inverse; its normals do not matter
      for (int r = 0; r < 3; ++r) l.inv[r][i] /= f[i];
  }
}

void rotateMatrix(MatrixStack& s, double degrees, int axis) {
  const double a = degrees * M_PI / 180.0;
  const double c = std::cos(a), sn = std::sin(a);
  // Rows of the rotation in row-vector form (p' = p x R).
  double r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  const int u = (axis + 1) % 3, v = (axis + 2) % 3;
  r[u][u] = c;
  r[u][v] = sn;
  r[v][u] = -sn;
  r[v][v] = c;
  MatrixLevel& l = top(s);
  double rows[3][4];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) rows[i][j] = r[i][0] * l.m[0][j] + r[i][1] * l.m[1][j] + r[i][2] * l.m[2][j];
  std::memcpy(l.m, rows, sizeof rows);
  // inv(R x A) = inv(A) x transpose(R).
  double inv[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) inv[i][j] = l.inv[i][0] * r[j][0] + l.inv[i][1] * r[j][1] + l.inv[i][2] * r[j][2];
  std::memcpy(l.inv, inv, sizeof inv);
}

void transformPoint(const MatrixStack& s, const double in[3], double out[3]) {
  const MatrixLevel& l = top(s);
  for (int j = 0; j < 3; ++j) out[j] = in[0] * l.m[0][j] + in[1] * l.m[1][j] + in[2] * l.m[2][j] + l.m[3][j];
}

void transformNormal(const MatrixStack& s, const double in[3], double out[3]) {
  const MatrixLevel& l = top(s);
  // n' = n x transpose(inverse): component j is the dot of n with row j of the inverse.
  for (int j = 0; j < 3; ++j) out[j] = l.inv[j][0] * in[0] + l.inv[j][1] * in[1] + l.inv[j][2] * in[2];
  const double len = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
  if (len > 0)
    for (int j = 0; j < 3; ++j) out[j] /= len;
}

}  // namespace vlm::scene
