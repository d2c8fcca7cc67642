#pragma once
// A small software matrix stack in double precision, used to place the vertices
// and normals of the hand-built shapes. Matrices are row-vector style: a point p
// maps to p x M, rows 0..2 are the axes and row 3 the translation. Each level
// keeps the inverse of its 3 x 3 part so normals transform without a solve.
namespace vlm::scene {

constexpr int kMatrixStackLevels = 10;

struct MatrixLevel {
  double m[4][4];
  double inv[3][3];
};

struct MatrixStack {
  MatrixLevel levels[kMatrixStackLevels];
  int depth = 0;
  MatrixStack();
};

// Back to depth 0 with the identity.
void resetMatrixStack(MatrixStack& s);
// Copies the top level one up; reports "m_pushmatrix: stack overflow\n" and
// changes nothing when the depth is already above 8.
bool pushMatrix(MatrixStack& s);
// Lowers the depth; reports "m_popmatrix: stack underflow\n" at depth 0.
bool popMatrix(MatrixStack& s);
void translateMatrix(MatrixStack& s, double a, double b, double c);
void scaleMatrix(MatrixStack& s, double a, double b, double c);
// Turns about the x (0), y (1) or z (2) axis by `degrees`, as glRotate would.
void rotateMatrix(MatrixStack& s, double degrees, int axis);

void transformPoint(const MatrixStack& s, const double in[3], double out[3]);
// Transforms a direction by the inverse transpose and normalises it.
void transformNormal(const MatrixStack& s, const double in[3], double out[3]);

}  // namespace vlm::scene
